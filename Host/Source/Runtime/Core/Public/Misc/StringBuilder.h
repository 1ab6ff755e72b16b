// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/StringFwd.h"
#include "Containers/StringView.h"
#include "Containers/UnrealString.h"
#include "Containers/StringConv.h"
#include "HAL/UnrealMemory.h"
#include "Misc/FormatStringSan.h"

// A string builder over an inline buffer that moves to the heap when it outgrows it. The text is
// always NUL-terminated, so ToString() and operator* give a C string.
template <typename CharType>
class TStringBuilderBase
{
public:
	using ElementType = CharType;
	using BuilderType = TStringBuilderBase<CharType>;
	using ViewType = TStringView<CharType>;

	TStringBuilderBase(const TStringBuilderBase&) = delete;
	TStringBuilderBase& operator=(const TStringBuilderBase&) = delete;

	~TStringBuilderBase()
	{
		if (bIsDynamic)
		{
			FMemory::Free(Base);
		}
	}

	FORCEINLINE int32 Len() const { return (int32)(CurPos - Base); }
	FORCEINLINE CharType* GetData() UE_LIFETIMEBOUND { return Base; }
	FORCEINLINE const CharType* GetData() const UE_LIFETIMEBOUND { return Base; }
	FORCEINLINE const CharType* ToString() const UE_LIFETIMEBOUND
	{
		*CurPos = 0;
		return Base;
	}
	FORCEINLINE ViewType ToView() const UE_LIFETIMEBOUND { return ViewType(Base, Len()); }
	FORCEINLINE const CharType* operator*() const UE_LIFETIMEBOUND { return ToString(); }
	FORCEINLINE operator ViewType() const UE_LIFETIMEBOUND { return ToView(); }
	FORCEINLINE bool IsEmpty() const { return CurPos == Base; }
	FORCEINLINE const CharType& LastChar() const { return *(CurPos - 1); }
	FORCEINLINE void Reset()
	{
		CurPos = Base;
		*CurPos = 0;
	}
	FORCEINLINE void RemoveSuffix(int32 InCharsToRemove)
	{
		CurPos -= InCharsToRemove < Len() ? InCharsToRemove : Len();
		*CurPos = 0;
	}
	void Reserve(int32 InNewCapacity)
	{
		if (InNewCapacity > (int32)(End - Base) - 1)
		{
			Grow(InNewCapacity - Len());
		}
	}

	FORCEINLINE BuilderType& AppendChar(CharType Char)
	{
		EnsureAdditionalCapacity(1);
		*CurPos++ = Char;
		*CurPos = 0;
		return *this;
	}

	BuilderType& Append(const CharType* String, int32 Length)
	{
		EnsureAdditionalCapacity(Length);
		FMemory::Memcpy(CurPos, String, Length * sizeof(CharType));
		CurPos += Length;
		*CurPos = 0;
		return *this;
	}

	template <typename OtherCharType>
	BuilderType& Append(const OtherCharType* String, int32 Length)
	{
		const int32 Needed = UE::Core::Private::ConvertString<CharType>(String, Length, (CharType*)nullptr);
		EnsureAdditionalCapacity(Needed);
		UE::Core::Private::ConvertString<CharType>(String, Length, CurPos);
		CurPos += Needed;
		*CurPos = 0;
		return *this;
	}

	BuilderType& Append(ViewType View) { return Append(View.GetData(), View.Len()); }
	BuilderType& Append(const CharType* String) { return Append(String, TCString<CharType>::Strlen(String)); }

	template <typename... Types>
	BuilderType& Appendf(UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Fmt, Types... Args)
	{
		const FString Formatted = FString::Printf(Fmt, Args...);
		return Append(*Formatted, Formatted.Len());
	}

	template <typename RangeType, typename SeparatorType>
	BuilderType& Join(const RangeType& Range, const SeparatorType& Separator)
	{
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				*this << Separator;
			}
			*this << Element;
			bFirst = false;
		}
		return *this;
	}

	friend FORCEINLINE CharType* GetData(BuilderType& Builder) { return Builder.GetData(); }
	friend FORCEINLINE const CharType* GetData(const BuilderType& Builder) { return Builder.GetData(); }
	friend FORCEINLINE int32 GetNum(const BuilderType& Builder) { return Builder.Len(); }

protected:
	TStringBuilderBase() = default;

	void Initialize(CharType* InBase, int32 InCapacity)
	{
		Base = InBase;
		CurPos = InBase;
		End = InBase + InCapacity;
		*CurPos = 0;
	}

	// Copies another builder's text into this one's fresh buffer.
	void CopyFrom(const TStringBuilderBase& Other)
	{
		Append(Other.Base, Other.Len());
	}

	FORCEINLINE void EnsureAdditionalCapacity(int32 RequiredAdditionalCapacity)
	{
		// One extra for the terminator.
		if (CurPos + RequiredAdditionalCapacity >= End)
		{
			Grow(RequiredAdditionalCapacity);
		}
	}

	FORCENOINLINE void Grow(int32 RequiredAdditionalCapacity)
	{
		const int32 CurrentLength = Len();
		int32 NewCapacity = (int32)(End - Base) * 2;
		while (NewCapacity < CurrentLength + RequiredAdditionalCapacity + 1)
		{
			NewCapacity *= 2;
		}
		CharType* NewBase = (CharType*)FMemory::Malloc(NewCapacity * sizeof(CharType));
		FMemory::Memcpy(NewBase, Base, CurrentLength * sizeof(CharType));
		if (bIsDynamic)
		{
			FMemory::Free(Base);
		}
		Base = NewBase;
		CurPos = Base + CurrentLength;
		End = Base + NewCapacity;
		*CurPos = 0;
		bIsDynamic = true;
	}

	CharType* Base = nullptr;
	CharType* CurPos = nullptr;
	CharType* End = nullptr;
	bool bIsDynamic = false;
};

template <typename CharType, int32 BufferSize>
class TStringBuilderWithBuffer : public TStringBuilderBase<CharType>
{
public:
	TStringBuilderWithBuffer() { this->Initialize(StringBuffer, BufferSize); }

	explicit TStringBuilderWithBuffer(TStringView<CharType> Initial)
	{
		this->Initialize(StringBuffer, BufferSize);
		this->Append(Initial);
	}

	// Copies (the inline buffer cannot move with the object).
	TStringBuilderWithBuffer(const TStringBuilderWithBuffer& Other) : TStringBuilderBase<CharType>()
	{
		this->Initialize(StringBuffer, BufferSize);
		this->CopyFrom(Other);
	}
	TStringBuilderWithBuffer(TStringBuilderWithBuffer&& Other) : TStringBuilderBase<CharType>()
	{
		this->Initialize(StringBuffer, BufferSize);
		this->CopyFrom(Other);
	}

	TStringBuilderWithBuffer& operator=(const TStringBuilderWithBuffer& Other)
	{
		if (this != &Other)
		{
			this->Reset();
			this->CopyFrom(Other);
		}
		return *this;
	}

private:
	CharType StringBuffer[BufferSize];
};

inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, TStringView<TCHAR> View) { return Builder.Append(View.GetData(), View.Len()); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, const TCHAR* String) { return Builder.Append(String); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, const FString& String) { return Builder.Append(*String, String.Len()); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, TCHAR Char) { return Builder.AppendChar(Char); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, ANSICHAR Char) { return Builder.AppendChar((TCHAR)Char); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, const ANSICHAR* String) { return Builder.Append(String, TCString<ANSICHAR>::Strlen(String)); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, TStringView<ANSICHAR> View) { return Builder.Append(View.GetData(), View.Len()); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, TStringView<UTF8CHAR> View) { return Builder.Append(View.GetData(), View.Len()); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, int32 Value) { return Builder.Appendf(TEXT("%d"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, uint32 Value) { return Builder.Appendf(TEXT("%u"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, int64 Value) { return Builder.Appendf(TEXT("%lld"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, uint64 Value) { return Builder.Appendf(TEXT("%llu"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, int8 Value) { return Builder.Appendf(TEXT("%d"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, uint8 Value) { return Builder.Appendf(TEXT("%u"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, int16 Value) { return Builder.Appendf(TEXT("%d"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, uint16 Value) { return Builder.Appendf(TEXT("%u"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, float Value) { return Builder.Appendf(TEXT("%f"), Value); }
inline FStringBuilderBase& operator<<(FStringBuilderBase& Builder, double Value) { return Builder.Appendf(TEXT("%f"), Value); }

inline FString::FString(const FStringBuilderBase& Builder) : FString(Builder.ToView()) {}

// Builds a string from the arguments in one expression.
template <int32 BufferSize, typename... ArgTypes>
inline TStringBuilder<BufferSize> WriteToString(ArgTypes&&... Args)
{
	TStringBuilder<BufferSize> Result;
	(Result << ... << Forward<ArgTypes>(Args));
	return Result;
}

template <int32 BufferSize, typename... ArgTypes>
inline TUtf8StringBuilder<BufferSize> WriteToUtf8String(ArgTypes&&... Args)
{
	TUtf8StringBuilder<BufferSize> Result;
	(Result.Append(FStringView(Forward<ArgTypes>(Args)).GetData(), FStringView(Forward<ArgTypes>(Args)).Len()), ...);
	return Result;
}
