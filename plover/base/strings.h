// Texts the main window shows. They are the program's own words and are
// compared by the tests exactly.
#pragma once

namespace plover::text_of {

inline constexpr const char* kCaption = "Plover 2.0";
inline constexpr const char* kIdle = "Created by Velmor";
inline constexpr const char* kSwitching = "转换中...！- Created by Velmor";
inline constexpr const char* kSwitched = "转换完成！- Created by Velmor";
inline constexpr const char* kSwitchIncomplete = "转换未完成！- Created by Velmor";
inline constexpr const char* kNotWrittenHeader = "以下文件未能转换（可能正在使用或只读）：";
inline constexpr const char* kMoreNames = "……";
inline constexpr const char* kSelectVersion = "请选择一个版本！";
inline constexpr const char* kTitleOops = "出错";
inline constexpr const char* kTitleError = "错误";
inline constexpr const char* kMissingFileBefore = "转换中找不到文件";
inline constexpr const char* kMissingFileAfter = "，是否继续？";
inline constexpr const char* kNoMapsFolder = "找不到Maps目录，请确认设定魔兽目录是否正确";
inline constexpr const char* kAlreadyRunning = "Plover2.0已经运行";
inline constexpr const char* kAppTitle = "Plover";
inline constexpr const char* kProgramError = "程序错误！";
inline constexpr const char* kCannotSaveSettings = "无法保存设置文件 ver.dat！";
inline constexpr const char* kWelcome = "欢迎使用";
inline constexpr const char* kChooseGameDir = "选择魔兽所在目录";
inline constexpr const char* kWrongGameDir = "你选择的魔兽目录不对，请选择！";
inline constexpr const char* kGameNotFound = "找不到魔兽,请选择正确的目录";
inline constexpr const char* kGameRunning = "魔兽正在运行，部分文件可能无法转换。是否继续？";
inline constexpr const char* kTitleSwitch = "转换";

inline constexpr const char* kLoaderMade = "已经生成loader！- Created by Velmor";
inline constexpr const char* kConfirmDelete = "你确定要删除吗？";
inline constexpr const char* kDeleteStoreToo = "是否同时删除版本文件？";
inline constexpr const char* kDeleteTitle = "删除版本文件";
inline constexpr const char* kChooseReplayDir = "选择录象存放目录，目前存放目录：";
inline constexpr const char* kNoKeyBlocker = "无法找到 Quenlock.exe";
inline constexpr const char* kTitleOk = "确定";
inline constexpr const char* kKeyBlockerExe = "Quenlock.exe";

}  // namespace plover::text_of
