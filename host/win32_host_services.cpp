#include "host/win32_host_services.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <optional>
#include <string>

#include "host/win32_owners.h"

namespace {

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

std::optional<FILETIME> CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::nullopt;
  return created;
}

// Ids of the running processes whose executable has this name; case is
// ignored and double-byte characters compare whole (the ANSI code page's rules).
std::vector<DWORD> ProcessesNamed(const char* name) {
  std::vector<DWORD> ids;
  const OwnedHandle snapshot(NullIfInvalid(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)));
  if (!snapshot) return ids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry))
    if (lstrcmpiA(entry.szExeFile, name) == 0) ids.push_back(entry.th32ProcessID);
  return ids;
}

bool IsBareDrive(const char* path) {
  const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  return letter && path[1] == ':' && (path[2] == '\0' || (path[2] == '\\' && path[3] == '\0'));
}

bool IsLink(DWORD attributes) { return attributes & FILE_ATTRIBUTE_REPARSE_POINT; }

struct Entry {
  std::string name;
  DWORD attributes;
};

// The whole listing is taken before anything in the folder is deleted.
std::vector<Entry> ListFolder(const std::string& folder) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAA found;
  const OwnedFind search(NullIfInvalid(FindFirstFileA((folder + "\\*.*").c_str(), &found)));
  if (!search) return entries;
  do {
    if (found.cFileName[0] != '.') entries.push_back({found.cFileName, found.dwFileAttributes});
  } while (FindNextFileA(search.get(), &found));
  return entries;
}

void EmptyFolder(const std::string& folder) {
  for (const Entry& e : ListFolder(folder)) {
    const std::string path = folder + "\\" + e.name;
    if (!(e.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileA(path.c_str());
      continue;
    }
    // A junction or symbolic link is removed as itself; what it points at is
    // somebody else's and is never entered.
    if (!IsLink(e.attributes)) EmptyFolder(path);
    RemoveDirectoryA(path.c_str());
  }
}

}  // namespace

bool Win32HostServices::CreateFolder(const char* path) {
  return CreateDirectoryA(path, nullptr) != 0;
}

bool Win32HostServices::WriteBlockToFile(const char* path, std::span<const std::uint8_t> block) {
  if (!path || path[0] == '\0') return false;
  OwnedHandle file(NullIfInvalid(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) return false;  // an existing file keeps its contents
  DWORD written = 0;
  const DWORD size = static_cast<DWORD>(block.size());
  bool ok = size == 0 || (WriteFile(file.get(), block.data(), size, &written, nullptr) && written == size);
  ok = CloseHandle(file.release()) && ok;
  // A truncated file would be started or opened by the next step: remove it.
  if (!ok) DeleteFileA(path);
  return ok;
}

bool Win32HostServices::RunProgram(const char* path) {
  // The path is the application name, and the command line quotes it, so an
  // unquoted "C:\Program Files\..." can never start "C:\Program.exe".
  std::string command_line = std::string("\"") + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(path, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return false;
  const OwnedHandle process(info.hProcess), thread(info.hThread);
  Remember(process.get());
  WaitForInputIdle(process.get(), 1000);
  return true;
}

std::intptr_t Win32HostServices::ShellOpen(const char* file, const char* parameters) {
  SHELLEXECUTEINFOA execute{};
  execute.cbSize = sizeof execute;
  // The process handle lets TerminateProcessByName know this process as ours;
  // no error box of the shell's own, as with ShellExecute.
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  execute.lpFile = file;
  execute.lpParameters = parameters;
  execute.lpDirectory = "";
  execute.nShow = SW_SHOWNORMAL;
  ShellExecuteExA(&execute);
  if (execute.hProcess) {
    const OwnedHandle process(execute.hProcess);
    Remember(process.get());
  }
  return reinterpret_cast<std::intptr_t>(execute.hInstApp);
}

void Win32HostServices::OpenUrl(const char* url) {
  const HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

int Win32HostServices::ShowMessage(const char* text) {
  switch (MessageBoxA(nullptr, text, "信息：", MB_OK | MB_TASKMODAL)) {
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
    default: return 0;
  }
}

void Win32HostServices::Remember(HANDLE process) {
  if (const auto created = CreationTime(process)) started_.push_back({GetProcessId(process), *created});
}

bool Win32HostServices::TerminateProcessByName(const char* executable_name) {
  if (!executable_name || executable_name[0] == '\0') return false;
  const std::vector<DWORD> named = ProcessesNamed(executable_name);
  for (const StartedProcess& started : started_) {
    if (std::find(named.begin(), named.end(), started.id) == named.end()) continue;
    const OwnedHandle process(
        OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, started.id));
    const auto created = process ? CreationTime(process.get()) : std::nullopt;
    if (!created || !SameTime(*created, started.created)) continue;  // the id went to a stranger
    if (!TerminateProcess(process.get(), 0)) return false;
    ended_.push_back(started);
    return true;
  }
  return false;
}

bool Win32HostServices::WaitForTerminatedProcesses(std::uint32_t timeout_ms) {
  const DWORD start = GetTickCount();
  bool all_gone = true;
  for (const StartedProcess& ended : ended_) {
    const OwnedHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ended.id));
    const auto created = process ? CreationTime(process.get()) : std::nullopt;
    if (!created || !SameTime(*created, ended.created)) continue;  // gone, its id maybe reused
    const DWORD spent = GetTickCount() - start;
    const DWORD left = spent < timeout_ms ? timeout_ms - spent : 0;
    all_gone = WaitForSingleObject(process.get(), left) == WAIT_OBJECT_0 && all_gone;
  }
  ended_.clear();
  return all_gone;
}

bool Win32HostServices::RemoveFolderTree(const char* path) {
  while (*path == ' ') ++path;
  if (*path == '\0' || IsBareDrive(path)) return false;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && !IsLink(attributes)) EmptyFolder(path);
  return RemoveDirectoryA(path) != 0;
}
