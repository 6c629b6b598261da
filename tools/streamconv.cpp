// streamconv: converts component streams between the binary form and the text form.
//
//   streamconv to-text IN OUT      binary stream -> text
//   streamconv to-binary IN OUT    text -> binary stream
//
// Exit status: 0 on success, 1 when reading, converting or writing fails (OUT is then left as it
// was), 2 on bad arguments.

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/stream/TextForm.h"

namespace {

constexpr const char kUsage[] =
    "usage: streamconv to-text IN OUT     convert a binary component stream to its text form\n"
    "       streamconv to-binary IN OUT   convert the text form to a binary component stream\n";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return content.str();
}

// Writes through a temporary file in the same folder and renames it over `path`, so that a failed
// write never leaves a truncated OUT behind.
void WriteFile(const std::string& path, const std::string& content) {
  const size_t slash = path.rfind('/');
  std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".streamconv-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  const mode_t mask = umask(0);  // mkstemp creates the file private; give it the usual permissions
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const int error = written < content.size() ? errno : 0;
  if (close(fd) != 0 || error != 0 || rename(temp.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(error != 0 ? error : errno);
    unlink(temp.c_str());
    throw std::runtime_error("cannot write " + path + ": " + reason);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (std::strcmp(argv[1], "to-text") != 0 && std::strcmp(argv[1], "to-binary") != 0)) {
    std::cerr << kUsage;
    return 2;
  }
  const bool toText = std::strcmp(argv[1], "to-text") == 0;
  try {
    const std::string input = ReadFile(argv[2]);
    const std::string output = toText ? StreamToText(input) : TextToStream(input);
    WriteFile(argv[3], output);
  } catch (const std::exception& e) {
    std::cerr << "streamconv: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
