#pragma once
// The catalogue texts of an object: its name and description as the buy and
// build catalogues show them, kept as strings 1 and 2 of a 'CTSS' string
// table (older files carry a 'CATS' table of the same id instead).

#include <string>

#include "resfile/iResFile.h"

namespace tova {

constexpr ResType kCatalogStringsType = TypeCode("CTSS");
constexpr ResType kLegacyCatalogStringsType = TypeCode("CATS");

struct CatalogStrings {
  std::string name;
  std::string description;

  // Reads the texts of `id` in the current language: the 'CATS' table when
  // the file has one, else 'CTSS'. False when neither exists.
  bool Read(iResFile& file, ResId id);
  // Writes name and description as strings 1 and 2 of 'CTSS' id; when that
  // worked, removes a 'CATS' resource of the same id. A status code.
  int Write(iResFile& file, ResId id) const;
};

}  // namespace tova
