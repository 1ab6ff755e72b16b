// Copyright Quarn. All Rights Reserved.

#include "Misc/AssertionMacros.h"
#include "Misc/AssertionReport.h"
#include <cstdio>
#include <cstdlib>
#include <string>

namespace UE::Assert::Private
{
	namespace
	{
		class FStdStringSink final : public UE::Core::Private::FFormatSink
		{
		public:
			std::u16string Text;
			virtual void Write(const TCHAR* Chars, int32 Num) override { Text.append(Chars, Num); }
		};

		std::u16string Widen(const ANSICHAR* Text)
		{
			std::u16string Result;
			for (; Text && *Text; ++Text)
			{
				Result.push_back((TCHAR)(uint8)*Text);
			}
			return Result;
		}

		std::u16string BuildMessage(const ANSICHAR* Prefix, const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs)
		{
			FStdStringSink Sink;
			UE::Core::Private::FormatToSink(Sink, Format, Args, NumArgs);
			std::u16string Message = Widen(Prefix);
			Message += Widen(Expr);
			Message += u" [File:";
			Message += Widen(File);
			Message += u"] [Line: ";
			Message += Widen(std::to_string(Line).c_str());
			Message += u"]";
			if (!Sink.Text.empty())
			{
				Message += u" ";
				Message += Sink.Text;
			}
			return Message;
		}
	} // namespace

	void CheckFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs)
	{
		const std::u16string Message = BuildMessage("Assertion failed: ", Expr, File, Line, Format, Args, NumArgs);
		ReportAssertion(Message.c_str(), true);
		std::abort();
	}

	void EnsureFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs)
	{
		const std::u16string Message = BuildMessage("Ensure condition failed: ", Expr, File, Line, Format, Args, NumArgs);
		ReportAssertion(Message.c_str(), false);
	}
} // namespace UE::Assert::Private
