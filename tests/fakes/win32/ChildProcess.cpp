#include "fakes/ChildProcess.h"

#include <stdexcept>
#include <windows.h>

namespace twk::testing {

struct ChildProcess::State {
    PROCESS_INFORMATION process{};
    HANDLE output = INVALID_HANDLE_VALUE;
    std::string said;
};

namespace {

// One argument as the C runtime's command-line parser reads it back.
std::string quoted(const std::string& argument)
{
    std::string result = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        result.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, '\\');
    return result + "\"";
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) : state_(new State)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE write = INVALID_HANDLE_VALUE;
    // Room for everything the child says before it is killed, so it never waits on the pipe.
    if (!::CreatePipe(&state_->output, &write, &inheritable, 1 << 20))
        throw std::runtime_error("CreatePipe");
    ::SetHandleInformation(state_->output, HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = quoted(program);
    for (const auto& argument : arguments)
        commandLine += " " + quoted(argument);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = write;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    const BOOL started = ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &state_->process);
    ::CloseHandle(write);
    if (!started)
        throw std::runtime_error("CreateProcess " + program);
}

ChildProcess::~ChildProcess()
{
    kill();
    ::CloseHandle(state_->output);
    delete state_;
}

bool ChildProcess::waitForOutput(int milliseconds)
{
    // An anonymous pipe cannot be waited on: look every millisecond.
    const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    DWORD available = 0;
    while (::PeekNamedPipe(state_->output, nullptr, 0, nullptr, &available, nullptr) && available == 0) {
        if (::GetTickCount64() >= until)
            return false;
        ::Sleep(1);
    }
    if (available == 0)
        return false;
    char buffer[4096];
    DWORD got = 0;
    if (!::ReadFile(state_->output, buffer, sizeof buffer, &got, nullptr) || got == 0)
        return false;
    state_->said.append(buffer, got);
    return true;
}

void ChildProcess::kill()
{
    if (!state_->process.hProcess)
        return;
    ::TerminateProcess(state_->process.hProcess, 1);
    ::WaitForSingleObject(state_->process.hProcess, INFINITE);
    ::CloseHandle(state_->process.hThread);
    ::CloseHandle(state_->process.hProcess);
    state_->process = {};
}

std::string ChildProcess::output()
{
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(state_->output, buffer, sizeof buffer, &got, nullptr) && got > 0)
        state_->said.append(buffer, got);
    return state_->said;
}

std::string besideTestProgram(const std::string& fileName)
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + fileName;
}

} // namespace twk::testing
