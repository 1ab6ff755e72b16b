#include "QuarnTest/EmulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace QuarnTest
{
namespace
{
std::atomic<int> NextLogNumber{0};

std::string TempDirectory()
{
	const char* Dir = std::getenv("TMPDIR");
	return Dir != nullptr && *Dir != '\0' ? Dir : "/tmp";
}

bool HasPortArgument(const std::vector<std::string>& Arguments)
{
	for (const std::string& Argument : Arguments)
	{
		if (Argument == "--port")
		{
			return true;
		}
	}
	return false;
}
}

EmulatorProcess::EmulatorProcess()
{
	LogPath = TempDirectory() + "/velmora-emulator-" + std::to_string(getpid()) + "-" + std::to_string(NextLogNumber++) + ".log";
}

EmulatorProcess::~EmulatorProcess()
{
	if (IsRunning())
	{
		Stop();
	}
	if (std::getenv("VELMORA_KEEP_LOGS") == nullptr)
	{
		unlink(LogPath.c_str());
	}
}

std::string EmulatorProcess::BinaryPath()
{
	const char* FromEnvironment = std::getenv("VELMORA_EMULATOR");
	if (FromEnvironment != nullptr && *FromEnvironment != '\0')
	{
		return FromEnvironment;
	}
#ifdef QUARN_EMULATOR_PATH
	return QUARN_EMULATOR_PATH;
#else
	return "velmora-emulator";
#endif
}

bool EmulatorProcess::Start(const std::vector<std::string>& Arguments, int TimeoutMs)
{
	if (IsRunning())
	{
		Error = "already running";
		return false;
	}
	Args = Arguments;
	if (!HasPortArgument(Args))
	{
		Args.push_back("--port");
		Args.push_back("0");
	}
	return Launch(Args, TimeoutMs);
}

bool EmulatorProcess::Launch(const std::vector<std::string>& Arguments, int TimeoutMs)
{
	Error.clear();
	int Pipe[2];
	int Stdin[2];
	if (pipe2(Pipe, O_CLOEXEC) != 0)
	{
		Error = "cannot create a pipe";
		return false;
	}
	// The child's stdin: we hold the write end (close-on-exec, so no other child inherits it). When
	// this process ends, crash included, the pipe closes and the emulator stops by itself.
	if (pipe2(Stdin, O_CLOEXEC) != 0)
	{
		close(Pipe[0]);
		close(Pipe[1]);
		Error = "cannot create a pipe";
		return false;
	}
	const std::string Binary = BinaryPath();
	std::vector<char*> Argv;
	Argv.push_back(const_cast<char*>(Binary.c_str()));
	for (const std::string& Argument : Arguments)
	{
		Argv.push_back(const_cast<char*>(Argument.c_str()));
	}
	static char StopOnStdinClose[] = "--stop-on-stdin-close";
	Argv.push_back(StopOnStdinClose);
	Argv.push_back(nullptr);

	posix_spawn_file_actions_t Actions;
	posix_spawn_file_actions_init(&Actions);
	posix_spawn_file_actions_adddup2(&Actions, Pipe[1], STDOUT_FILENO);
	posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, LogPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
	posix_spawn_file_actions_adddup2(&Actions, Stdin[0], STDIN_FILENO);
	posix_spawnattr_t Attributes;
	posix_spawnattr_init(&Attributes);
	sigset_t Empty;
	sigemptyset(&Empty);
	posix_spawnattr_setsigmask(&Attributes, &Empty);
	posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSIGMASK);
	pid_t Child = -1;
	const int Result = posix_spawn(&Child, Binary.c_str(), &Actions, &Attributes, Argv.data(), environ);
	posix_spawn_file_actions_destroy(&Actions);
	posix_spawnattr_destroy(&Attributes);
	close(Pipe[1]);
	close(Stdin[0]);
	if (Result != 0)
	{
		close(Pipe[0]);
		close(Stdin[1]);
		Error = "cannot start " + Binary + ": " + std::strerror(Result);
		return false;
	}
	Pid = Child;
	StdoutFd = Pipe[0];
	StdinFd = Stdin[1];

	// The first line is the base address, the second "X-Admin-Key: <key>".
	std::string Output;
	std::vector<std::string> Lines;
	const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
	while (Lines.size() < 2)
	{
		const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now()).count();
		pollfd Wait{StdoutFd, POLLIN, 0};
		if (Left <= 0 || poll(&Wait, 1, static_cast<int>(Left)) <= 0)
		{
			Error = "the emulator printed no base address in time";
			break;
		}
		char Buffer[1024];
		const ssize_t Got = read(StdoutFd, Buffer, sizeof(Buffer));
		if (Got <= 0)
		{
			Error = "the emulator exited before it was ready";
			break;
		}
		Output.append(Buffer, static_cast<size_t>(Got));
		size_t NewLine;
		while (Lines.size() < 2 && (NewLine = Output.find('\n')) != std::string::npos)
		{
			Lines.push_back(Output.substr(0, NewLine));
			Output.erase(0, NewLine + 1);
		}
	}
	const std::string KeyPrefix = "X-Admin-Key: ";
	if (Error.empty() && (Lines[0].rfind("http://", 0) != 0 || Lines[1].rfind(KeyPrefix, 0) != 0))
	{
		Error = "unexpected start-up lines: " + Lines[0] + " / " + Lines[1];
	}
	if (!Error.empty())
	{
		Kill(SIGKILL);
		Error += "; its stderr: " + ReadStderr();
		return false;
	}
	Base = Lines[0];
	Key = Lines[1].substr(KeyPrefix.size());
	PortNumber = std::atoi(Base.c_str() + Base.rfind(':') + 1);
	return true;
}

bool EmulatorProcess::WaitForExit(int TimeoutMs)
{
	const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
	while (true)
	{
		int Status = 0;
		const pid_t Done = waitpid(Pid, &Status, WNOHANG);
		if (Done == Pid || (Done < 0 && errno != EINTR))
		{
			ExitStatus = Done == Pid ? Status : -1;
			Pid = -1;
			if (StdoutFd >= 0)
			{
				close(StdoutFd);
				StdoutFd = -1;
			}
			if (StdinFd >= 0)
			{
				close(StdinFd);
				StdinFd = -1;
			}
			return true;
		}
		if (std::chrono::steady_clock::now() >= Deadline)
		{
			return false;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(2));
	}
}

bool EmulatorProcess::Stop(int TimeoutMs)
{
	if (!IsRunning())
	{
		return false;
	}
	kill(Pid, SIGTERM);
	if (!WaitForExit(TimeoutMs))
	{
		Error = "the emulator did not stop after SIGTERM";
		Kill(SIGKILL);
		return false;
	}
	return WIFEXITED(ExitStatus) && WEXITSTATUS(ExitStatus) == 0;
}

void EmulatorProcess::Kill(int Signal, int TimeoutMs)
{
	if (!IsRunning())
	{
		return;
	}
	kill(Pid, Signal);
	if (!WaitForExit(TimeoutMs))
	{
		kill(Pid, SIGKILL);
		WaitForExit(TimeoutMs);
	}
}

bool EmulatorProcess::Restart(int TimeoutMs)
{
	if (IsRunning())
	{
		Stop(TimeoutMs);
	}
	// The same port, so that clients holding the base address keep working.
	std::vector<std::string> Arguments;
	for (size_t I = 0; I < Args.size(); ++I)
	{
		if (Args[I] == "--port" && I + 1 < Args.size())
		{
			++I;
			continue;
		}
		Arguments.push_back(Args[I]);
	}
	if (PortNumber > 0)
	{
		Arguments.push_back("--port");
		Arguments.push_back(std::to_string(PortNumber));
	}
	// The old listening socket may linger for a moment; retry briefly.
	const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
	while (true)
	{
		if (Launch(Arguments, TimeoutMs))
		{
			return true;
		}
		if (std::chrono::steady_clock::now() >= Deadline)
		{
			return false;
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(50));
	}
}

std::string EmulatorProcess::ReadStderr() const
{
	std::ifstream File(LogPath, std::ios::binary);
	std::stringstream Text;
	Text << File.rdbuf();
	return Text.str();
}

HttpResponse EmulatorProcess::Admin(const std::string& Method, const std::string& Path, const std::string& Body) const
{
	return Client().Send(Method, Path, Body, {{"X-Admin-Key", Key}});
}
}
