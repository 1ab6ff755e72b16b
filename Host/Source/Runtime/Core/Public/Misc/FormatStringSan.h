// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <type_traits>

// printf-style formatting shared by FString::Printf, UE_LOG and checkf.
//
// Formats are TCHAR literals checked against the argument types at compile time; at run time the
// arguments travel as typed values (never through C varargs), so a mismatch cannot read garbage.

namespace UE::Core
{
	namespace Private
	{
		// One formatting argument, with the category of its static type.
		struct FFormatArgValue
		{
			enum class EKind : uint8
			{
				Signed,
				Unsigned,
				Float,
				Pointer,
				WideString,
				AnsiString,
				Utf8String,
			};

			EKind Kind;
			uint8 Size;
			union
			{
				int64 Signed;
				uint64 Unsigned;
				double Float;
				const void* Pointer;
			};
		};

		template <typename T>
		constexpr FFormatArgValue MakeFormatArg(T Value)
		{
			FFormatArgValue Result{};
			using U = std::remove_cv_t<T>;
			if constexpr (std::is_enum_v<U>)
			{
				using Underlying = std::underlying_type_t<U>;
				return MakeFormatArg((Underlying)Value);
			}
			else if constexpr (std::is_floating_point_v<U>)
			{
				Result.Kind = FFormatArgValue::EKind::Float;
				Result.Size = sizeof(double);
				Result.Float = (double)Value;
			}
			else if constexpr (std::is_same_v<U, bool>)
			{
				Result.Kind = FFormatArgValue::EKind::Signed;
				Result.Size = 4;
				Result.Signed = Value ? 1 : 0;
			}
			else if constexpr (std::is_integral_v<U> && std::is_signed_v<U>)
			{
				Result.Kind = FFormatArgValue::EKind::Signed;
				Result.Size = sizeof(U);
				Result.Signed = (int64)Value;
			}
			else if constexpr (std::is_integral_v<U>)
			{
				Result.Kind = FFormatArgValue::EKind::Unsigned;
				Result.Size = sizeof(U);
				Result.Unsigned = (uint64)Value;
			}
			else if constexpr (std::is_null_pointer_v<U>)
			{
				Result.Kind = FFormatArgValue::EKind::Pointer;
				Result.Size = sizeof(void*);
				Result.Pointer = nullptr;
			}
			else if constexpr (std::is_pointer_v<U>)
			{
				using Pointee = std::remove_cv_t<std::remove_pointer_t<U>>;
				Result.Size = sizeof(void*);
				Result.Pointer = (const void*)Value;
				if constexpr (std::is_same_v<Pointee, TCHAR>)
				{
					Result.Kind = FFormatArgValue::EKind::WideString;
				}
				else if constexpr (std::is_same_v<Pointee, ANSICHAR>)
				{
					Result.Kind = FFormatArgValue::EKind::AnsiString;
				}
				else if constexpr (std::is_same_v<Pointee, UTF8CHAR>)
				{
					Result.Kind = FFormatArgValue::EKind::Utf8String;
				}
				else
				{
					Result.Kind = FFormatArgValue::EKind::Pointer;
				}
			}
			else
			{
				static_assert(sizeof(T) == 0, "Invalid argument type passed to a format function");
			}
			return Result;
		}

		// Receives formatted characters.
		class FFormatSink
		{
		public:
			virtual void Write(const TCHAR* Chars, int32 Num) = 0;

		protected:
			~FFormatSink() = default;
		};

		CORE_API void FormatToSink(FFormatSink& Sink, const TCHAR* Format, const FFormatArgValue* Args, int32 NumArgs);

		// Compile-time validation.
		enum class EFormatCheck : uint8
		{
			Ok,
			TooFewArguments,
			TooManyArguments,
			BadSpecifier,
			NeedsInteger,
			NeedsInteger64,
			NeedsFloat,
			NeedsTCharString,
			NeedsAnsiString,
			NeedsPointer,
			NeedsIntForStar,
		};

		enum class EArgCategory : uint8
		{
			Int32,
			Int64,
			Float,
			TCharString,
			AnsiString,
			OtherPointer,
			Other,
		};

		template <typename T>
		constexpr EArgCategory CategoryOf()
		{
			using U = std::remove_cv_t<std::remove_reference_t<T>>;
			if constexpr (std::is_floating_point_v<U>)
			{
				return EArgCategory::Float;
			}
			else if constexpr (std::is_integral_v<U> || std::is_enum_v<U>)
			{
				return sizeof(U) <= 4 ? EArgCategory::Int32 : EArgCategory::Int64;
			}
			else if constexpr (std::is_null_pointer_v<U>)
			{
				return EArgCategory::OtherPointer;
			}
			else if constexpr (std::is_pointer_v<U>)
			{
				using Pointee = std::remove_cv_t<std::remove_pointer_t<U>>;
				if constexpr (std::is_same_v<Pointee, TCHAR>)
				{
					return EArgCategory::TCharString;
				}
				else if constexpr (std::is_same_v<Pointee, ANSICHAR> || std::is_same_v<Pointee, UTF8CHAR>)
				{
					return EArgCategory::AnsiString;
				}
				else
				{
					return EArgCategory::OtherPointer;
				}
			}
			else
			{
				return EArgCategory::Other;
			}
		}

		template <typename CharType>
		constexpr EFormatCheck CheckFormatString(const CharType* Fmt, const EArgCategory* Cats, int32 NumCats)
		{
			int32 ArgIndex = 0;
			for (const CharType* P = Fmt; *P; ++P)
			{
				if (*P != '%')
				{
					continue;
				}
				++P;
				if (*P == '%')
				{
					continue;
				}
				while (*P == '-' || *P == '+' || *P == ' ' || *P == '#' || *P == '0')
				{
					++P;
				}
				if (*P == '*')
				{
					if (ArgIndex >= NumCats)
					{
						return EFormatCheck::TooFewArguments;
					}
					if (Cats[ArgIndex++] != EArgCategory::Int32)
					{
						return EFormatCheck::NeedsIntForStar;
					}
					++P;
				}
				while (*P >= '0' && *P <= '9')
				{
					++P;
				}
				if (*P == '.')
				{
					++P;
					if (*P == '*')
					{
						if (ArgIndex >= NumCats)
						{
							return EFormatCheck::TooFewArguments;
						}
						if (Cats[ArgIndex++] != EArgCategory::Int32)
						{
							return EFormatCheck::NeedsIntForStar;
						}
						++P;
					}
					while (*P >= '0' && *P <= '9')
					{
						++P;
					}
				}
				int32 LongCount = 0;
				bool bShort = false;
				bool bSizeT = false;
				while (*P == 'l' || *P == 'h' || *P == 'z' || *P == 'I' || *P == 'j')
				{
					if (*P == 'l')
					{
						++LongCount;
					}
					else if (*P == 'h')
					{
						bShort = true;
					}
					else if (*P == 'z' || *P == 'j')
					{
						bSizeT = true;
					}
					else if (*P == 'I')
					{
						// %I64d
						if (P[1] == '6' && P[2] == '4')
						{
							LongCount = 2;
							P += 2;
						}
					}
					++P;
				}
				if (*P == 0)
				{
					return EFormatCheck::BadSpecifier;
				}
				if (ArgIndex >= NumCats)
				{
					return EFormatCheck::TooFewArguments;
				}
				const EArgCategory Cat = Cats[ArgIndex++];
				switch (*P)
				{
					case 'd':
					case 'i':
					case 'u':
					case 'x':
					case 'X':
					case 'o':
						if (LongCount > 0 || bSizeT)
						{
							if (Cat != EArgCategory::Int64)
							{
								return EFormatCheck::NeedsInteger64;
							}
						}
						else if (Cat != EArgCategory::Int32)
						{
							return EFormatCheck::NeedsInteger;
						}
						break;
					case 'c':
						if (Cat != EArgCategory::Int32)
						{
							return EFormatCheck::NeedsInteger;
						}
						break;
					case 'f':
					case 'F':
					case 'e':
					case 'E':
					case 'g':
					case 'G':
					case 'a':
					case 'A':
						if (Cat != EArgCategory::Float)
						{
							return EFormatCheck::NeedsFloat;
						}
						break;
					case 's':
					case 'S':
						if (bShort)
						{
							if (Cat != EArgCategory::AnsiString)
							{
								return EFormatCheck::NeedsAnsiString;
							}
						}
						else if (Cat != EArgCategory::TCharString)
						{
							return EFormatCheck::NeedsTCharString;
						}
						break;
					case 'p':
						if (Cat != EArgCategory::OtherPointer && Cat != EArgCategory::TCharString && Cat != EArgCategory::AnsiString)
						{
							return EFormatCheck::NeedsPointer;
						}
						break;
					default:
						return EFormatCheck::BadSpecifier;
				}
			}
			return ArgIndex == NumCats ? EFormatCheck::Ok : EFormatCheck::TooManyArguments;
		}

		// Not constexpr: reaching one of these during constant evaluation is the compile error.
		void FormatStringError_TooFewArguments();
		void FormatStringError_TooManyArguments();
		void FormatStringError_UnknownSpecifier();
		void FormatStringError_IntegerSpecifierNeedsIntegerOf32Bits();
		void FormatStringError_LongLongSpecifierNeedsIntegerOf64Bits();
		void FormatStringError_FloatSpecifierNeedsFloatingPoint();
		void FormatStringError_PercentSNeedsTCharPointer_UseStarOnFString();
		void FormatStringError_PercentHSNeedsAnsiCharPointer();
		void FormatStringError_PercentPNeedsPointer();
		void FormatStringError_StarNeedsInt32();

		constexpr void ReportFormatCheck(EFormatCheck Result)
		{
			switch (Result)
			{
				case EFormatCheck::Ok: break;
				case EFormatCheck::TooFewArguments: FormatStringError_TooFewArguments(); break;
				case EFormatCheck::TooManyArguments: FormatStringError_TooManyArguments(); break;
				case EFormatCheck::BadSpecifier: FormatStringError_UnknownSpecifier(); break;
				case EFormatCheck::NeedsInteger: FormatStringError_IntegerSpecifierNeedsIntegerOf32Bits(); break;
				case EFormatCheck::NeedsInteger64: FormatStringError_LongLongSpecifierNeedsIntegerOf64Bits(); break;
				case EFormatCheck::NeedsFloat: FormatStringError_FloatSpecifierNeedsFloatingPoint(); break;
				case EFormatCheck::NeedsTCharString: FormatStringError_PercentSNeedsTCharPointer_UseStarOnFString(); break;
				case EFormatCheck::NeedsAnsiString: FormatStringError_PercentHSNeedsAnsiCharPointer(); break;
				case EFormatCheck::NeedsPointer: FormatStringError_PercentPNeedsPointer(); break;
				case EFormatCheck::NeedsIntForStar: FormatStringError_StarNeedsInt32(); break;
			}
		}
	} // namespace Private

	// A format string literal checked against the argument types at compile time.
	template <typename FmtCharType, typename... Types>
	struct TCheckedFormatString
	{
		template <size_t N>
		consteval TCheckedFormatString(const FmtCharType (&InFormatString)[N])
			: FormatString(InFormatString)
		{
			static_assert((TIsValidArg<Types>::Value && ...), "Invalid argument(s) passed to a format function: pass *FString for %s, and only arithmetic, enum or pointer values");
			constexpr Private::EArgCategory Categories[sizeof...(Types) + 1] = { Private::CategoryOf<Types>()..., Private::EArgCategory::Other };
			Private::ReportFormatCheck(Private::CheckFormatString(InFormatString, Categories, (int32)sizeof...(Types)));
		}

		template <typename T>
		struct TIsValidArg
		{
			using U = std::remove_cv_t<std::remove_reference_t<T>>;
			enum { Value = std::is_arithmetic_v<U> || std::is_pointer_v<U> || std::is_enum_v<U> || std::is_null_pointer_v<U> };
		};

		const FmtCharType* FormatString;
	};
} // namespace UE::Core
