#include "plover/versions/loader.h"

#include "plover/base/functions.h"

namespace plover {

std::string EscapeForBatch(std::string_view text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    switch (c) {
      case '"':
        quoted = !quoted;
        out.push_back(c);
        break;
      case '%':
        out += "%%";
        break;
      case '&':
      case '|':
      case '<':
      case '>':
      case '^':
      case '(':
      case ')':
      case '!':
        // Inside quotation marks these are plain characters already, and a
        // caret would stay in the text.
        if (!quoted) out.push_back('^');
        out.push_back(c);
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string LoaderText(std::string_view exeStem, std::string_view versionName) {
  std::string exe = std::string(exeStem) + ".exe";
  // cmd ends the program name at a blank, a tab, a comma, a semicolon or an
  // equals sign, and takes a leading "@" for "do not echo"; such a name is
  // quoted so that it stays whole.
  if (exe.find_first_of(" \t,;=") != std::string::npos || exe.starts_with('@')) {
    exe = "\"" + exe + "\"";
  }
  std::string text = "@echo off\r\n";
  text += "echo 正在进行转换并运行魔兽。。。请稍候。。。。\r\n";
  text += EscapeForBatch(exe) + " " + EscapeForBatch(versionName) + "\r\n";
  return text;
}

std::string LoaderPath(std::string_view appDir, std::string_view versionName) {
  return AddBackslash(appDir) + std::string(versionName) + "loader.bat";
}

}  // namespace plover
