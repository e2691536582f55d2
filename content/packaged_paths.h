#pragma once
// Where the packaged content goes and what runs it. Every path is written out
// in full: nothing is joined at run time.

inline constexpr char kWorkingFolder[] = "C:\\Program Files\\zorvalin";
inline constexpr char kTutorialPath[] = "C:\\Program Files\\zorvalin\\velto77.exe";
inline constexpr char kNoticePath[] = "C:\\Program Files\\zorvalin\\tougao.txt";
inline constexpr char kNotesPath[] = "C:\\Program Files\\zorvalin\\shuoming.txt";
inline constexpr char kTutorialProcessName[] = "velto77.exe";
inline constexpr char kEditor[] = "notepad.exe";
