// The demo game as a user runs it: exit status, what it prints, and the pictures it leaves.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
	struct FRun
	{
		int ExitCode = -1;
		std::string Output;
	};

	FRun RunDemo(const std::string& Emulator, const std::string& OutDir, const std::string& Extra = std::string())
	{
		FRun Run;
		// Under LeakSanitizer the system font library's caches would count as leaks of the demo.
		const std::string Command = std::string("LSAN_OPTIONS=suppressions='") + QUARN_DEMO_LSAN_SUPPRESSIONS + "' '" + QUARN_DEMO_BINARY + "' --emulator '" + Emulator + "' --out '" + OutDir + "' " + Extra + " 2>&1";
		FILE* const Pipe = popen(Command.c_str(), "r");
		if (Pipe == nullptr)
		{
			return Run;
		}
		char Buffer[4096];
		size_t Read = 0;
		while ((Read = fread(Buffer, 1, sizeof(Buffer), Pipe)) > 0)
		{
			Run.Output.append(Buffer, Read);
		}
		const int Status = pclose(Pipe);
		Run.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
		return Run;
	}

	/** Width and height from a PNG's header; false when the file is not a PNG. */
	bool ReadPngSize(const std::filesystem::path& Path, uint32_t& OutWidth, uint32_t& OutHeight)
	{
		std::ifstream File(Path, std::ios::binary);
		unsigned char Header[24] = {};
		if (!File.read(reinterpret_cast<char*>(Header), sizeof(Header)))
		{
			return false;
		}
		const unsigned char Signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
		if (std::memcmp(Header, Signature, 8) != 0 || std::memcmp(Header + 12, "IHDR", 4) != 0)
		{
			return false;
		}
		OutWidth = (uint32_t(Header[16]) << 24) | (uint32_t(Header[17]) << 16) | (uint32_t(Header[18]) << 8) | Header[19];
		OutHeight = (uint32_t(Header[20]) << 24) | (uint32_t(Header[21]) << 16) | (uint32_t(Header[22]) << 8) | Header[23];
		return true;
	}

	std::filesystem::path Scratch(const std::string& Name)
	{
		const std::filesystem::path Dir = std::filesystem::path(QUARN_DEMO_SCRATCH) / Name;
		std::filesystem::remove_all(Dir);
		return Dir;
	}
}

TEST(QuarnDemo, EveryStepPassesAndLeavesAFullScreenPicture)
{
	const std::filesystem::path Out = Scratch("full");
	const FRun Run = RunDemo(QUARN_EMULATOR_BINARY, Out.string());
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	EXPECT_NE(Run.Output.find("=== USME adapter test: PASSED ==="), std::string::npos) << Run.Output;
	EXPECT_NE(Run.Output.find("8 of 8 steps did what they should"), std::string::npos) << Run.Output;
	EXPECT_EQ(Run.Output.find("FAILED"), std::string::npos) << Run.Output;

	uintmax_t PreviousSize = 0;
	bool bPicturesDiffer = false;
	for (int Step = 1; Step <= 8; ++Step)
	{
		const std::filesystem::path Picture = Out / ("step-" + std::to_string(Step) + ".png");
		uint32_t Width = 0;
		uint32_t Height = 0;
		ASSERT_TRUE(ReadPngSize(Picture, Width, Height)) << Picture;
		EXPECT_EQ(Width, 1920u);
		EXPECT_EQ(Height, 1080u);
		const uintmax_t Size = std::filesystem::file_size(Picture);
		bPicturesDiffer = bPicturesDiffer || (Step > 1 && Size != PreviousSize);
		PreviousSize = Size;
	}
	// Each step changes what is on screen; identical files throughout would mean nothing was drawn.
	EXPECT_TRUE(bPicturesDiffer);
	EXPECT_FALSE(std::filesystem::exists(Out / "step-9.png"));
	// Without --trace there is no trace.
	EXPECT_FALSE(std::filesystem::exists(Out / "trace.json"));
}

TEST(QuarnDemo, WithTraceItWritesAChromeTraceOfTheSyncsAndTheLoads)
{
	const std::filesystem::path Out = Scratch("trace");
	const FRun Run = RunDemo(QUARN_EMULATOR_BINARY, Out.string(), "--trace");
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	EXPECT_NE(Run.Output.find("trace scopes in "), std::string::npos) << Run.Output;
	std::ifstream File(Out / "trace.json");
	ASSERT_TRUE(File.good());
	const std::string Trace((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
	EXPECT_EQ(Trace.rfind("{\"displayTimeUnit\":\"ms\",\"traceEvents\":[", 0), 0u);
	for (const char* Scope : { "Quarn::Send", "Quarn::HandOver", "Quarn::ReadSyncContainer", "Quarn::Reconcile", "Quarn::ReconcileBody", "Quarn::ShowContainer", "Quarn::DrawItems", "Quarn::CellAtScreenPosition" })
	{
		EXPECT_NE(Trace.find(std::string("{\"name\":\"") + Scope + "\",\"cat\":\"cpu\",\"ph\":\"X\""), std::string::npos) << Scope;
	}
	EXPECT_NE(Trace.find("\"args\":{\"name\":\"GameThread\"}"), std::string::npos);
	EXPECT_EQ(Trace.substr(Trace.size() - 3), "]}\n");
}

TEST(QuarnDemo, WithoutAPlatformItFailsAndDrawsNothing)
{
	const std::filesystem::path Out = Scratch("no-platform");
	const FRun Run = RunDemo((Out / "no-such-emulator").string(), Out.string());
	EXPECT_NE(Run.ExitCode, 0) << Run.Output;
	EXPECT_FALSE(std::filesystem::exists(Out / "step-1.png"));
}

TEST(QuarnDemo, StalePicturesAreRemovedBeforeARun)
{
	const std::filesystem::path Out = Scratch("stale");
	std::filesystem::create_directories(Out);
	std::ofstream(Out / "step-3.png") << "old";
	const FRun Run = RunDemo((Out / "no-such-emulator").string(), Out.string());
	EXPECT_NE(Run.ExitCode, 0);
	EXPECT_FALSE(std::filesystem::exists(Out / "step-3.png"));
}
