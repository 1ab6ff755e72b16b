#pragma once

#include "QuarnTest/HttpClient.h"

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace QuarnTest
{
// Runs velmora-emulator as a child process for a test, the demo or the soak.
//
//     QuarnTest::EmulatorProcess Emulator;
//     ASSERT_TRUE(Emulator.Start({"--db", Path})) << Emulator.LastError();
//     HttpResponse Doc = Emulator.Client().Get("/v1/game/containers/" + Id, {{"Authorization", "Bearer " + Token}});
//     Emulator.Kill(SIGKILL);   // crash it
//     Emulator.Restart();       // same arguments, same port
//
// The binary is $VELMORA_EMULATOR if set, else the one this build made. The child's stderr (its
// request log) goes to a file, StderrPath(), removed with the object unless $VELMORA_KEEP_LOGS is set.
// The child is started with --stop-on-stdin-close on a pipe this process holds, so it stops by
// itself if this process dies without stopping it. Not thread-safe: use one object from one thread.
class EmulatorProcess
{
public:
	EmulatorProcess();
	~EmulatorProcess();
	EmulatorProcess(const EmulatorProcess&) = delete;
	EmulatorProcess& operator=(const EmulatorProcess&) = delete;

	// Starts the emulator with these arguments ("--port 0" is added unless a port is given) and
	// waits for its base address and admin key. False (see LastError) when it did not come up.
	bool Start(const std::vector<std::string>& Arguments = {}, int TimeoutMs = 15000);
	// SIGTERM, then waits; true when it exited by itself with status 0.
	bool Stop(int TimeoutMs = 15000);
	// Sends the signal and waits for the process to end (SIGKILL after TimeoutMs).
	void Kill(int Signal = SIGKILL, int TimeoutMs = 15000);
	// Starts it again with the same arguments on the same port (after Kill or Stop, or stopping it first).
	bool Restart(int TimeoutMs = 15000);

	bool IsRunning() const { return Pid > 0; }
	pid_t ProcessId() const { return Pid; }
	// The wait status of the last exit (as from waitpid), or -1.
	int LastExitStatus() const { return ExitStatus; }
	const std::string& BaseUrl() const { return Base; }
	int Port() const { return PortNumber; }
	const std::string& AdminKey() const { return Key; }
	const std::string& LastError() const { return Error; }
	const std::string& StderrPath() const { return LogPath; }
	std::string ReadStderr() const;

	HttpClient Client(int TimeoutMs = 15000) const { return HttpClient(Base, TimeoutMs); }
	// An admin request, with X-Admin-Key.
	HttpResponse Admin(const std::string& Method, const std::string& Path, const std::string& Body = std::string()) const;

	static std::string BinaryPath();

private:
	bool Launch(const std::vector<std::string>& Arguments, int TimeoutMs);
	bool WaitForExit(int TimeoutMs);

	std::vector<std::string> Args;
	pid_t Pid = -1;
	int StdoutFd = -1;
	int StdinFd = -1;
	int ExitStatus = -1;
	int PortNumber = 0;
	std::string Base;
	std::string Key;
	std::string Error;
	std::string LogPath;
};
}
