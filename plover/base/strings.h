// The program's texts, by the window that shows them. They are the program's
// own words and are compared by the tests exactly.
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
inline constexpr const char* kNeedsAdministrator =
    "魔兽目录需要管理员权限才能写入。是否以管理员身份转换？";
inline constexpr const char* kProgramDirNotWritable =
    "Plover 所在的文件夹无法写入，版本和设置都不能保存。请把 Plover 放到可以写入的文件夹中。";

inline constexpr const char* kLoaderMade = "已经生成loader！- Created by Velmor";
inline constexpr const char* kConfirmDelete = "你确定要删除吗？";
inline constexpr const char* kDeleteStoreToo = "是否同时删除版本文件？";
inline constexpr const char* kDeleteTitle = "删除版本文件";
inline constexpr const char* kCannotDeleteVersionFile = "无法删除版本文件，可能有程序正在使用它。";
inline constexpr const char* kChooseReplayDir = "选择录象存放目录，目前存放目录：";
inline constexpr const char* kNoKeyBlocker = "无法找到 Quenlock.exe";
inline constexpr const char* kTitleOk = "确定";
inline constexpr const char* kKeyBlockerExe = "Quenlock.exe";

// The version editor.
inline constexpr const char* kLoadFailed = "找不到配置文件或者配置文件出错。";
inline constexpr const char* kRenamePrompt = "请输入一个版本名称";
inline constexpr const char* kRenameTitle = "更改版本名称";
inline constexpr const char* kNameTaken = "你输入的版本名称已经存在，请换一个名称。";
inline constexpr const char* kUnsavableName = "文件名含有无法保存的字符：";
inline constexpr const char* kOutsideBefore = "你选择的目录：";
inline constexpr const char* kOutsideAfter = " 不在设定的魔兽目录内！请从新选择！";
inline constexpr const char* kChooserTitle = "选择文件转换后存放目录，该目录必须在设定的魔兽目录内";
inline constexpr const char* kChooserPreset = "选择目录必须进入你选择的目录在按打开";
inline constexpr const char* kReadIncomplete = "版本文件未能完整读入，不能保存。";
inline constexpr const char* kCannotRename = "无法更改版本名称，可能有程序正在使用该版本的文件。";
inline constexpr const char* kCannotWrite = "保存失败，无法写入版本文件！";
inline constexpr const char* kNotCopied = "以下文件未能复制，没有加入版本：";

// The new-version wizard.
inline constexpr const char* kAskName = "请输入一个版本名称，然后按 下一步";
inline constexpr const char* kAskFile = "请选择文件所在目录，在列表中选择文件名。按下一步";
inline constexpr const char* kWorking = "正在制作中....请稍侯";
inline constexpr const char* kDone = "..........完成";
inline constexpr const char* kDoneButton = "完成";
inline constexpr const char* kGameFileMissing = "制作失败，找不到魔兽或地图文件丢失！";
inline constexpr const char* kMissingInGameHeader = "以下文件在魔兽目录中找不到：";
inline constexpr const char* kVersionFileMissing = "制作失败，配置文件不存！";
inline constexpr const char* kVersionFileBadPath = "制作失败，配置文件中有无效的路径！";
inline constexpr const char* kCannotReadOrWrite = "制作失败，无法读写文件！";
inline constexpr const char* kNeedName = "请输入一个版本名称，如“1.20”，“1.18”等。";
inline constexpr const char* kNameExists = "你输入的版本名称已经存在，是否覆盖原版本？";
inline constexpr const char* kOverwriteTitle = "制作新的版本文件";
inline constexpr const char* kNeedFile = "请选择一个配置文件（*.w3v）！";
inline constexpr const char* kWelcomePrompt =
    "输入您现在使用的魔兽版本的名称，如 1.20 等。然后按确定，系统将自动生成版本转换文件。"
    "以便您今后使用";
inline constexpr const char* kWelcomeTitle = "欢迎使用-您是第一次使用本软件";
inline constexpr const char* kNewVersionEditorCaption = "制作新的版本转换文件";

}  // namespace plover::text_of
