#pragma once
// A family's photo album as the family sees it: made on first use on the
// "PhotoAlbum/" folder of the neighbourhood, and saved before the family's
// own chunks. The album screens supply the real one through the maker; the
// default album holds nothing and saves nothing.

#include <functional>
#include <memory>
#include <string>

namespace tova {

class Family;

class FamilyAlbum {
 public:
  virtual ~FamilyAlbum() = default;
  // True when the album saved (or had nothing to save).
  virtual bool Save() { return true; }
};

using FamilyAlbumMaker = std::function<std::unique_ptr<FamilyAlbum>(const Family&, const std::string& folder)>;

}  // namespace tova
