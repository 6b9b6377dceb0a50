// Lays out synthetic game files from the command line:
//
//   make_fake_install game <game folder> [options]
//       a game installation holding the fifteen files of a full version
//   make_fake_install version <program folder> <name> [options]
//       a ready version: <name>.w3v and the store folder <name>\ beside it
//
// Options:
//   --flavour <text>   tags the files (default: 1.24 for a game, the name
//                      for a version)
//   --realistic        about 300 MB of files instead of a few kilobytes
//   --war3 <program>   the program to use for War3.exe (the fake game)
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tests/support/install_gen.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

int Usage() {
  std::fputs(
      "usage: make_fake_install game <game folder> [--flavour F] [--realistic] [--war3 EXE]\n"
      "       make_fake_install version <program folder> <name> [--flavour F] [--realistic]"
      " [--war3 EXE]\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using plover::testing::PathFromUtf8;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));

  std::vector<std::string> positional;
  plover::testing::InstallOptions options;
  bool flavourGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--realistic") {
      options.realisticSizes = true;
    } else if (args[i] == "--flavour" && i + 1 < args.size()) {
      options.flavour = args[++i];
      flavourGiven = true;
    } else if (args[i] == "--war3" && i + 1 < args.size()) {
      options.war3Exe = PathFromUtf8(args[++i]);
    } else if (args[i].rfind("--", 0) == 0) {
      return Usage();
    } else {
      positional.push_back(args[i]);
    }
  }

  try {
    if (positional.size() == 2 && positional[0] == "game") {
      plover::testing::CreateGameInstallation(PathFromUtf8(positional[1]), options);
      std::printf("game installation (%s) in %s\n", options.flavour.c_str(), positional[1].c_str());
      return 0;
    }
    if (positional.size() == 3 && positional[0] == "version") {
      if (!flavourGiven) options.flavour = positional[2];
      plover::testing::CreateReadyVersion(PathFromUtf8(positional[1]), positional[2], options);
      std::printf("version %s (%s) in %s\n", positional[2].c_str(), options.flavour.c_str(),
                  positional[1].c_str());
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_fake_install: %s\n", e.what());
    return 1;
  }
  return Usage();
}
