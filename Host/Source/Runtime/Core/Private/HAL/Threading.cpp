// Copyright Quarn. All Rights Reserved.

#include "HAL/RunnableThread.h"
#include "HAL/Runnable.h"
#include "HAL/Event.h"
#include "HAL/PlatformProcess.h"
#include "Containers/StringConv.h"
#include "Misc/AssertionMacros.h"
#include <chrono>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <thread>
#include <vector>
#include <cstring>
#include <unistd.h>
#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>

namespace
{
	class FEventStd final : public FEvent
	{
	public:
		virtual bool Create(bool bInIsManualReset = false) override
		{
			bManualReset = bInIsManualReset;
			bTriggered = false;
			return true;
		}
		virtual bool IsManualReset() override { return bManualReset; }
		virtual void Trigger() override
		{
			{
				std::lock_guard<std::mutex> Lock(Mutex);
				bTriggered = true;
			}
			if (bManualReset)
			{
				Condition.notify_all();
			}
			else
			{
				Condition.notify_one();
			}
		}
		virtual void Reset() override
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			bTriggered = false;
		}
		virtual bool Wait(uint32 WaitTime, const bool bIgnoreThreadIdleStats = false) override
		{
			std::unique_lock<std::mutex> Lock(Mutex);
			const auto Ready = [this]() { return bTriggered; };
			bool bSignalled;
			if (WaitTime == MAX_uint32)
			{
				Condition.wait(Lock, Ready);
				bSignalled = true;
			}
			else
			{
				bSignalled = Condition.wait_for(Lock, std::chrono::milliseconds(WaitTime), Ready);
			}
			if (bSignalled && !bManualReset)
			{
				bTriggered = false;
			}
			return bSignalled;
		}

	private:
		std::mutex Mutex;
		std::condition_variable Condition;
		bool bManualReset = false;
		bool bTriggered = false;
	};

	struct FEventPool
	{
		std::mutex Mutex;
		std::vector<FEvent*> AutoReset;
		std::vector<FEvent*> ManualReset;
	};

	FEventPool& GetEventPool()
	{
		static FEventPool* Pool = new FEventPool();
		return *Pool;
	}

	class FRunnableThreadStd final : public FRunnableThread
	{
	public:
		bool Start(FRunnable* InRunnable, const TCHAR* InThreadName, EThreadPriority InPriority)
		{
			Runnable = InRunnable;
			ThreadName = InThreadName ? InThreadName : TEXT("Unnamed");
			ThreadPriority = InPriority;
			FEventRef Started(EEventMode::ManualReset);
			FEvent* StartedEvent = Started.Get();
			Thread = std::thread([this, StartedEvent]()
			{
				ThreadID = (uint32)syscall(SYS_gettid);
				const FTCHARToUTF8 Name(*ThreadName);
				char ShortName[16] = {};
				std::strncpy(ShortName, Name.Get(), 15);
				pthread_setname_np(pthread_self(), ShortName);
				StartedEvent->Trigger();
				if (Runnable->Init())
				{
					Runnable->Run();
					Runnable->Exit();
				}
			});
			// The id is known once Create returns, as the engine's threads guarantee.
			StartedEvent->Wait();
			return true;
		}

		virtual bool Kill(bool bShouldWait = true) override
		{
			if (Runnable)
			{
				Runnable->Stop();
			}
			if (bShouldWait)
			{
				WaitForCompletion();
			}
			return true;
		}

		virtual void WaitForCompletion() override
		{
			if (Thread.joinable())
			{
				if (Thread.get_id() == std::this_thread::get_id())
				{
					Thread.detach();
				}
				else
				{
					Thread.join();
				}
			}
		}

		virtual ~FRunnableThreadStd() override
		{
			if (Thread.joinable())
			{
				Kill(true);
			}
		}

	private:
		std::thread Thread;
	};
} // namespace

FRunnableThread::FRunnableThread() = default;
FRunnableThread::~FRunnableThread() = default;

FRunnableThread* FRunnableThread::Create(FRunnable* InRunnable, const TCHAR* ThreadName, uint32 InStackSize, EThreadPriority InThreadPri, uint64 InThreadAffinityMask, EThreadCreateFlags InCreateFlags)
{
	if (!InRunnable)
	{
		return nullptr;
	}
	FRunnableThreadStd* Thread = new FRunnableThreadStd();
	Thread->Start(InRunnable, ThreadName, InThreadPri);
	return Thread;
}

FEventRef::FEventRef(EEventMode Mode) : Event(FPlatformProcess::GetSynchEventFromPool(Mode == EEventMode::ManualReset)) {}

FEventRef::~FEventRef()
{
	FPlatformProcess::ReturnSynchEventToPool(Event);
}

FEvent* FPlatformProcess::CreateSynchEvent(bool bIsManualReset)
{
	FEvent* Event = new FEventStd();
	Event->Create(bIsManualReset);
	return Event;
}

FEvent* FPlatformProcess::GetSynchEventFromPool(bool bIsManualReset)
{
	FEventPool& Pool = GetEventPool();
	{
		std::lock_guard<std::mutex> Lock(Pool.Mutex);
		std::vector<FEvent*>& List = bIsManualReset ? Pool.ManualReset : Pool.AutoReset;
		if (!List.empty())
		{
			FEvent* Event = List.back();
			List.pop_back();
			return Event;
		}
	}
	return CreateSynchEvent(bIsManualReset);
}

void FPlatformProcess::ReturnSynchEventToPool(FEvent* Event)
{
	if (!Event)
	{
		return;
	}
	Event->Reset();
	FEventPool& Pool = GetEventPool();
	std::lock_guard<std::mutex> Lock(Pool.Mutex);
	(Event->IsManualReset() ? Pool.ManualReset : Pool.AutoReset).push_back(Event);
}

void FPlatformProcess::Sleep(float Seconds)
{
	SleepNoStats(Seconds);
}

void FPlatformProcess::SleepNoStats(float Seconds)
{
	if (Seconds > 0.0f)
	{
		std::this_thread::sleep_for(std::chrono::duration<double>(Seconds));
	}
	else
	{
		std::this_thread::yield();
	}
}

void FPlatformProcess::SleepInfinite()
{
	for (;;)
	{
		pause();
	}
}

void FPlatformProcess::YieldThread()
{
	std::this_thread::yield();
}

uint32 FPlatformProcess::GetCurrentProcessId()
{
	return (uint32)getpid();
}

uint32 FPlatformProcess::GetCurrentCoreNumber()
{
	return (uint32)sched_getcpu();
}

const TCHAR* FPlatformProcess::BaseDir()
{
	// The folder of the running executable, with a trailing slash.
	static FString Result = []()
	{
		char Path[4096];
		const ssize_t Len = readlink("/proc/self/exe", Path, sizeof(Path) - 1);
		FString Dir;
		if (Len > 0)
		{
			Path[Len] = 0;
			Dir = FString(UTF8_TO_TCHAR(Path));
			int32 Slash;
			if (Dir.FindLastChar(TEXT('/'), Slash))
			{
				Dir.LeftInline(Slash + 1);
			}
		}
		return Dir;
	}();
	return *Result;
}

const TCHAR* FPlatformProcess::ExecutableName(bool bRemoveExtension)
{
	static FString Result = []()
	{
		char Path[4096];
		const ssize_t Len = readlink("/proc/self/exe", Path, sizeof(Path) - 1);
		FString Name;
		if (Len > 0)
		{
			Path[Len] = 0;
			Name = FString(UTF8_TO_TCHAR(Path));
			int32 Slash;
			if (Name.FindLastChar(TEXT('/'), Slash))
			{
				Name.RightChopInline(Slash + 1);
			}
		}
		return Name;
	}();
	return *Result;
}

void* FPlatformProcess::GetDllHandle(const TCHAR* Filename)
{
	return dlopen(TCHAR_TO_UTF8(Filename), RTLD_NOW | RTLD_GLOBAL);
}

void FPlatformProcess::FreeDllHandle(void* DllHandle)
{
	if (DllHandle)
	{
		dlclose(DllHandle);
	}
}

void* FPlatformProcess::GetDllExport(void* DllHandle, const TCHAR* ProcName)
{
	return DllHandle ? dlsym(DllHandle, TCHAR_TO_UTF8(ProcName)) : nullptr;
}
