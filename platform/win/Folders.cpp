#include "platform/win/Folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// The user's home folder; $HOME is the user's own choice and wins over the password database.
std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) home = entry->pw_dir;
  }
  return home;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::string WindowsFolder() {
  if (std::string folder = Environment("WINDIR"); !folder.empty()) {
    return WithoutTrailingSlashes(folder);
  }
  if (std::string config = Environment("XDG_CONFIG_HOME"); !config.empty()) {
    return JoinPath(WithoutTrailingSlashes(config), "markedit");
  }
  return JoinPath(WithoutTrailingSlashes(HomeFolder()), ".config/markedit");
}

std::vector<std::string> SystemConfigFolders() {
  std::string dirs = Environment("XDG_CONFIG_DIRS");
  if (dirs.empty()) dirs = "/etc/xdg";
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && dir.front() == '/') folders.push_back(JoinPath(WithoutTrailingSlashes(dir), "markedit"));
    start = end + 1;
  }
  return folders;
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateDir(const std::string& path) { return !path.empty() && mkdir(path.c_str(), 0777) == 0; }
