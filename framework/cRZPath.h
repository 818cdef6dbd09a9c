// cRZPath: a path kept both whole and split into drive, directory, name and
// extension; whichever side changed last is rebuilt on demand. Drive letters
// mean nothing on Linux but are still split off when a path carries one.
#pragma once

#include "framework/cRZString.h"

class cRZPath {
 public:
  cRZPath() = default;
  explicit cRZPath(const cRZString& fullPath) { SetFullPath(fullPath); }
  virtual ~cRZPath() = default;

  virtual const cRZString& GetFullPath();
  // As GetFullPath, for a caller that is going to change it.
  virtual cRZString& FullPathForChange();
  virtual const cRZString& GetDrive();
  virtual cRZString& DriveForChange();
  virtual const cRZString& GetDirectory();
  virtual cRZString& DirectoryForChange();
  virtual const cRZString& GetName();
  virtual cRZString& NameForChange();
  virtual const cRZString& GetExtension();
  virtual cRZString& ExtensionForChange();
  virtual void SetFullPath(const cRZString& path);
  virtual void SplitEntry() { Split(); }
  virtual void SetParts(const cRZString& drive, const cRZString& directory, const cRZString& name,
                        const cRZString& extension);
  virtual void MakeEntry() { Make(); }
  virtual void SetAndResolve(const cRZString& path);
  virtual void Resolve();
  virtual void Split();
  virtual void Make();
  // Makes the full path absolute against the working folder.
  virtual void MakeAbsolute();

  // Path splitting as the C runtime's: drive "X:", directory up to and
  // including the last '\' or '/', extension from the last '.' of the rest.
  // Each part is at most 255 bytes.
  static void SplitFullPath(const cRZString& path, cRZString& drive, cRZString& directory, cRZString& name,
                            cRZString& extension);
  // The parts joined, adding ':' after a bare drive letter, a '\' after a
  // directory without one and a '.' before an extension without one; at most
  // 259 bytes.
  static cRZString MakeFullPath(const cRZString& drive, const cRZString& directory, const cRZString& name,
                                const cRZString& extension);

 private:
  cRZString mFullPath;
  bool mFullPathValid = true;
  cRZString mDrive;
  cRZString mDirectory;
  cRZString mName;
  cRZString mExtension;
  bool mPartsValid = false;
};
