#include "fakes/ChildProcess.h"

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace twk::testing {

struct ChildProcess::State {
    pid_t pid = -1;
    int output = -1;
    std::string said;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) : state_(new State)
{
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("pipe");
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    state_->pid = ::fork();
    if (state_->pid == 0) {
        ::dup2(channel[1], STDOUT_FILENO);
        ::close(channel[0]);
        ::close(channel[1]);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(channel[1]);
    state_->output = channel[0];
}

ChildProcess::~ChildProcess()
{
    kill();
    if (state_->output >= 0)
        ::close(state_->output);
    delete state_;
}

bool ChildProcess::waitForOutput(int milliseconds)
{
    pollfd ready{state_->output, POLLIN, 0};
    if (::poll(&ready, 1, milliseconds) <= 0)
        return false;
    char buffer[4096];
    const ssize_t got = ::read(state_->output, buffer, sizeof buffer);
    if (got <= 0)
        return false;
    state_->said.append(buffer, static_cast<std::size_t>(got));
    return true;
}

void ChildProcess::kill()
{
    if (state_->pid <= 0)
        return;
    ::kill(state_->pid, SIGKILL);
    int status = 0;
    ::waitpid(state_->pid, &status, 0);
    state_->pid = -1;
}

std::string ChildProcess::output()
{
    char buffer[4096];
    for (ssize_t got; (got = ::read(state_->output, buffer, sizeof buffer)) > 0;)
        state_->said.append(buffer, static_cast<std::size_t>(got));
    return state_->said;
}

std::string besideTestProgram(const std::string& fileName)
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / fileName).string();
}

} // namespace twk::testing
