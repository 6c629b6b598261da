// A second clerk for the tests of two clerks on one mark: a program of its own that opens a mark
// and saves it through the mark store as the editor does, on the database of the alias dbmd in
// $WINDIR/dbalias.ini. Editors in one process share one connection and never race; this one has
// its own.
//
//   mark_clerk CUSTOMER MARK SIDE DESIGN_FILE [HOLD_MS]
//
// It reads the mark's row and prints "loaded none" or "loaded N" (N bytes), then waits for a line
// on standard input before it saves the bytes of DESIGN_FILE, expecting the row it read. With
// HOLD_MS it prints "written" once its new row is in place and keeps its transaction open that many
// milliseconds before committing, so that the test can save the same mark meanwhile. It ends by
// printing "saved", "conflict none" or "conflict N" (what the row held instead), or "error: ..."
// with exit status 1.

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

#include "app/MarkStore.h"
#include "platform/db/DatabaseAliases.h"

namespace {

std::string Size(const std::optional<std::string>& row) { return row ? std::to_string(row->size()) : "none"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) {
    std::fprintf(stderr, "usage: %s CUSTOMER MARK SIDE DESIGN_FILE [HOLD_MS]\n", argv[0]);
    return 2;
  }
  QCoreApplication app(argc, argv);
  const TMarkKey key{argv[1], argv[2], argv[3]};
  std::ifstream file(argv[4], std::ios::binary);
  const std::string design((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const int holdMs = argc == 6 ? std::atoi(argv[5]) : 0;
  int status = 0;
  try {
    const std::optional<std::string> loaded = ReadMark(key);
    std::cout << "loaded " << Size(loaded) << std::endl;
    std::string line;
    std::getline(std::cin, line);
    if (holdMs > 0) {
      SetWriteMarkHook([holdMs](const std::string& step) {
        if (step != "written") return;
        std::cout << "written" << std::endl;
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
      });
    }
    const TMarkSaveResult result = SaveMarkIfUnchanged(key, design, loaded);
    if (result.Saved) std::cout << "saved" << std::endl;
    else std::cout << "conflict " << Size(result.Found) << std::endl;
  } catch (const std::exception& e) {
    std::cout << "error: " << e.what() << std::endl;
    status = 1;
  }
  SetWriteMarkHook(nullptr);
  CloseAliasDatabases();
  return status;
}
