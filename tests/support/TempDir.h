#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it.
#include <filesystem>
#include <string>

#include "history/ServiceRecord.h"

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::string& path, const TBuffer& bytes);
TBuffer ReadBytes(const std::string& path);
