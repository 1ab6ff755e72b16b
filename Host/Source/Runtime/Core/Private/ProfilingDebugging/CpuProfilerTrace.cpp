// Copyright Quarn. All Rights Reserved.

#include "ProfilingDebugging/CpuProfilerTrace.h"
#include "Host/TraceHost.h"
#include "Containers/StringConv.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformTime.h"
#include "Misc/CoreGlobals.h"
#include "Misc/Paths.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#if CPUPROFILERTRACE_ENABLED

namespace CpuProfilerTrace
{
	struct FOpenEvent
	{
		uint32 SpecId;
		uint64 BeginCycles;
	};

	struct FClosedEvent
	{
		uint32 SpecId;
		uint32 ThreadId;
		uint64 BeginCycles;
		uint64 EndCycles;
		int32 Depth;
	};

	struct FState
	{
		std::mutex Mutex;
		std::vector<FString> SpecNames;
		std::vector<FClosedEvent> Events;
		std::map<uint32, FString> ThreadNames;
	};

	static FState& State()
	{
		static FState* Instance = new FState();
		return *Instance;
	}

	static thread_local std::vector<FOpenEvent> OpenEvents;

	static uint32 NewSpec(const FString& Name)
	{
		FState& S = State();
		std::lock_guard<std::mutex> Lock(S.Mutex);
		S.SpecNames.push_back(Name);
		return (uint32)S.SpecNames.size();
	}

	static FString CurrentThreadName()
	{
		if (IsInGameThread())
		{
			return TEXT("GameThread");
		}
		char Name[32] = {};
		pthread_getname_np(pthread_self(), Name, sizeof(Name));
		return FString(UTF8_TO_TCHAR(Name));
	}

	static void GetOrCreate(uint32& InOutSpecId, const FString& Name)
	{
		std::atomic_ref<uint32> Spec(InOutSpecId);
		if (Spec.load(std::memory_order_acquire) != 0)
		{
			return;
		}
		// Two threads may race to the first use; both make a type, one is kept, as cheap as a lock.
		uint32 Expected = 0;
		Spec.compare_exchange_strong(Expected, NewSpec(Name), std::memory_order_acq_rel);
	}
}

static UE::Trace::FChannel GCpuChannel("Cpu");
UE::Trace::FChannel& CpuChannel = GCpuChannel;

bool UE::Trace::FChannel::Toggle(bool bInEnabled)
{
	return bEnabled.exchange(bInEnabled);
}

uint32 FCpuProfilerTrace::OutputEventType(const ANSICHAR* Name, const ANSICHAR* File, uint32 Line)
{
	return CpuProfilerTrace::NewSpec(FString(UTF8_TO_TCHAR(Name)));
}

uint32 FCpuProfilerTrace::OutputEventType(const TCHAR* Name, const ANSICHAR* File, uint32 Line)
{
	return CpuProfilerTrace::NewSpec(FString(Name));
}

void FCpuProfilerTrace::GetOrCreateSpecId(uint32& InOutSpecId, const ANSICHAR* Name, const ANSICHAR* File, uint32 Line)
{
	CpuProfilerTrace::GetOrCreate(InOutSpecId, FString(UTF8_TO_TCHAR(Name)));
}

void FCpuProfilerTrace::GetOrCreateSpecId(uint32& InOutSpecId, const TCHAR* Name, const ANSICHAR* File, uint32 Line)
{
	CpuProfilerTrace::GetOrCreate(InOutSpecId, FString(Name));
}

void FCpuProfilerTrace::OutputBeginEvent(uint32 SpecId)
{
	CpuProfilerTrace::OpenEvents.push_back({ SpecId, FPlatformTime::Cycles64() });
}

void FCpuProfilerTrace::OutputEndEvent()
{
	using namespace CpuProfilerTrace;
	if (OpenEvents.empty())
	{
		return;
	}
	const uint64 End = FPlatformTime::Cycles64();
	const FOpenEvent Open = OpenEvents.back();
	OpenEvents.pop_back();
	const uint32 ThreadId = (uint32)syscall(SYS_gettid);
	FState& S = State();
	std::lock_guard<std::mutex> Lock(S.Mutex);
	if (S.ThreadNames.find(ThreadId) == S.ThreadNames.end())
	{
		S.ThreadNames[ThreadId] = CurrentThreadName();
	}
	S.Events.push_back({ Open.SpecId, ThreadId, Open.BeginCycles, End, (int32)OpenEvents.size() });
}

#endif // CPUPROFILERTRACE_ENABLED

namespace UE::Host
{
	void StartTraceRecording()
	{
#if CPUPROFILERTRACE_ENABLED
		{
			CpuProfilerTrace::FState& S = CpuProfilerTrace::State();
			std::lock_guard<std::mutex> Lock(S.Mutex);
			S.Events.clear();
		}
		CpuChannel.Toggle(true);
#endif
	}

	void StopTraceRecording()
	{
#if CPUPROFILERTRACE_ENABLED
		CpuChannel.Toggle(false);
#endif
	}

	bool IsTraceRecording()
	{
#if CPUPROFILERTRACE_ENABLED
		return CpuChannel.IsEnabled();
#else
		return false;
#endif
	}

	TArray<FTraceScope> GetRecordedTraceScopes()
	{
		TArray<FTraceScope> Scopes;
#if CPUPROFILERTRACE_ENABLED
		CpuProfilerTrace::FState& S = CpuProfilerTrace::State();
		std::vector<CpuProfilerTrace::FClosedEvent> Events;
		{
			std::lock_guard<std::mutex> Lock(S.Mutex);
			Events = S.Events;
		}
		std::stable_sort(Events.begin(), Events.end(), [](const CpuProfilerTrace::FClosedEvent& A, const CpuProfilerTrace::FClosedEvent& B)
		{
			return A.BeginCycles != B.BeginCycles ? A.BeginCycles < B.BeginCycles : A.Depth < B.Depth;
		});
		std::lock_guard<std::mutex> Lock(S.Mutex);
		for (const CpuProfilerTrace::FClosedEvent& Event : Events)
		{
			FTraceScope Scope;
			Scope.Name = Event.SpecId >= 1 && Event.SpecId <= S.SpecNames.size() ? S.SpecNames[Event.SpecId - 1] : FString(TEXT("?"));
			Scope.ThreadId = Event.ThreadId;
			Scope.ThreadName = S.ThreadNames[Event.ThreadId];
			Scope.BeginSeconds = (double)Event.BeginCycles * 1e-9;
			Scope.EndSeconds = (double)Event.EndCycles * 1e-9;
			Scope.Depth = Event.Depth;
			Scopes.Add(MoveTemp(Scope));
		}
#endif
		return Scopes;
	}

	namespace TraceHost
	{
		static void AppendJsonString(std::string& Out, const FString& Text)
		{
			const FTCHARToUTF8 Utf8(*Text, Text.Len());
			Out += '"';
			for (int32 Index = 0; Index < Utf8.Length(); ++Index)
			{
				const char C = Utf8.Get()[Index];
				if (C == '"' || C == '\\')
				{
					Out += '\\';
					Out += C;
				}
				else if ((unsigned char)C < 0x20)
				{
					char Escaped[8];
					std::snprintf(Escaped, sizeof(Escaped), "\\u%04x", (unsigned)(unsigned char)C);
					Out += Escaped;
				}
				else
				{
					Out += C;
				}
			}
			Out += '"';
		}
	}

	bool WriteChromeTrace(const FString& Path)
	{
		const TArray<FTraceScope> Scopes = GetRecordedTraceScopes();
		const double Origin = Scopes.Num() > 0 ? Scopes[0].BeginSeconds : 0.0;
		std::string Json = "{\"displayTimeUnit\":\"ms\",\"traceEvents\":[\n";
		std::map<uint32, FString> Threads;
		bool bFirst = true;
		char Number[96];
		for (const FTraceScope& Scope : Scopes)
		{
			Threads[Scope.ThreadId] = Scope.ThreadName;
			Json += bFirst ? "" : ",\n";
			bFirst = false;
			Json += "{\"name\":";
			TraceHost::AppendJsonString(Json, Scope.Name);
			std::snprintf(Number, sizeof(Number), ",\"cat\":\"cpu\",\"ph\":\"X\",\"ts\":%.3f,\"dur\":%.3f,\"pid\":1,\"tid\":%u}",
				(Scope.BeginSeconds - Origin) * 1e6, (Scope.EndSeconds - Scope.BeginSeconds) * 1e6, Scope.ThreadId);
			Json += Number;
		}
		for (const std::pair<const uint32, FString>& Thread : Threads)
		{
			Json += bFirst ? "" : ",\n";
			bFirst = false;
			std::snprintf(Number, sizeof(Number), "{\"name\":\"thread_name\",\"ph\":\"M\",\"pid\":1,\"tid\":%u,\"args\":{\"name\":", Thread.first);
			Json += Number;
			TraceHost::AppendJsonString(Json, Thread.second);
			Json += "}}";
		}
		Json += "\n]}\n";

		IFileManager::Get().MakeDirectory(*FPaths::GetPath(Path), true);
		const FTCHARToUTF8 FileName(*Path);
		std::FILE* File = std::fopen(FileName.Get(), "wb");
		if (File == nullptr)
		{
			return false;
		}
		const bool bWritten = std::fwrite(Json.data(), 1, Json.size(), File) == Json.size();
		return std::fclose(File) == 0 && bWritten;
	}
}
