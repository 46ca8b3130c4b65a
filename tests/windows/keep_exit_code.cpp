// Runs a Windows program under Wine and keeps its exit code where the tests can read it.
//
// When the last thread of a process has ended, Wine's server gives the process's Unix side about
// half a second to go, then ends it with SIGKILL. A program that tears down its X11 connection
// and its libraries on a loaded machine can take longer: it has returned its code to Windows,
// but the shell sees it killed (137). This starts the program, waits for it, writes the code
// Windows got to the file named in KZB_EXIT_CODE_FILE, and exits with it. It loads nothing that
// slows its own end.
//
// Usage: keep_exit_code.exe PROGRAM [ARGUMENT...], with the program's own command line after its
// first word; the program shares its standard handles and its current folder.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The command line after its first word, which Windows reads without escapes: up to the next
// quote if it opens with one, else up to the first blank.
std::wstring commandLineAfterFirstWord()
{
    const wchar_t *rest = GetCommandLineW();
    if (*rest == L'"') {
        ++rest;
        while (*rest != L'\0' && *rest != L'"')
            ++rest;
        if (*rest == L'"')
            ++rest;
    } else {
        while (*rest != L'\0' && *rest != L' ' && *rest != L'\t')
            ++rest;
    }
    while (*rest == L' ' || *rest == L'\t')
        ++rest;
    return rest;
}

// A standard handle the program can inherit, or none.
HANDLE inheritable(DWORD which)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return nullptr;
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return handle;
}

bool writeCode(const wchar_t *path, DWORD code)
{
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%lu\n", static_cast<unsigned long>(code));
    DWORD written = 0;
    const bool ok = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr)
                    && written == static_cast<DWORD>(length) && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

} // namespace

int main()
{
    std::wstring commandLine = commandLineAfterFirstWord();
    if (commandLine.empty()) {
        std::fputs("usage: keep_exit_code.exe PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    wchar_t codeFile[MAX_PATH];
    const DWORD codeFileLength = GetEnvironmentVariableW(L"KZB_EXIT_CODE_FILE", codeFile, MAX_PATH);
    if (codeFileLength == 0 || codeFileLength >= MAX_PATH) {
        std::fputs("keep_exit_code.exe: KZB_EXIT_CODE_FILE names no file\n", stderr);
        return 2;
    }

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritable(STD_INPUT_HANDLE);
    startup.hStdOutput = inheritable(STD_OUTPUT_HANDLE);
    startup.hStdError = inheritable(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "keep_exit_code.exe: cannot start %ls (error %lu)\n",
                     commandLine.c_str(), GetLastError());
        return 127;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    if (!writeCode(codeFile, code)) {
        std::fprintf(stderr, "keep_exit_code.exe: cannot write %ls (error %lu)\n", codeFile,
                     GetLastError());
        return 125;
    }
    return static_cast<int>(code);
}
