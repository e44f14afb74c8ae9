#pragma once
// The registration programs' windows for the screens test, each made in a file of its own:
// torvik's and selvan's headers cannot meet in one file.
#include "base/user_interface.h"

#include <QMainWindow>

#include <filesystem>
#include <memory>

namespace velmo::test {

// torvik on a seeded pipe file in folder/ex_data; its block choice, modal until closed.
std::unique_ptr<QMainWindow> makeTorvik(const std::filesystem::path &folder, UserInterface &ui);
void chooseTorvikBlock(QMainWindow &torvik);

// selvan with its program in folder; its block choice, modal until closed.
std::unique_ptr<QMainWindow> makeSelvan(const std::filesystem::path &folder, UserInterface &ui);
void chooseSelvanBlock(QMainWindow &selvan);

} // namespace velmo::test
