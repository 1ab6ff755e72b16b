// Copyright Quarn. All Rights Reserved.

#include "Internationalization/Text.h"
#include "Internationalization/Internationalization.h"
#include "Logging/LogMacros.h"
#include "TextData.h"

// The "{Argument}" formatter. A backtick escapes the next special character ({ } ` |); an
// argument with no value is written back as it appeared; |plural(), |ordinal() and |gender()
// choose a form by the argument.

namespace
{
	bool IsDigits(const FString& Text)
	{
		if (Text.IsEmpty())
		{
			return false;
		}
		for (TCHAR Char : Text)
		{
			if (!TChar<TCHAR>::IsDigit(Char))
			{
				return false;
			}
		}
		return true;
	}

	// "one=item, other=\"many items\"" into (keyword, form) pairs.
	TArray<TPair<FString, FString>> ParseForms(const FString& Body, bool bPositional)
	{
		TArray<TPair<FString, FString>> Forms;
		int32 Index = 0;
		const int32 Len = Body.Len();
		int32 Position = 0;
		while (Index < Len)
		{
			while (Index < Len && (TChar<TCHAR>::IsWhitespace(Body[Index]) || Body[Index] == TEXT(',')))
			{
				++Index;
			}
			if (Index >= Len)
			{
				break;
			}
			FString Keyword;
			if (!bPositional)
			{
				while (Index < Len && Body[Index] != TEXT('='))
				{
					Keyword += Body[Index++];
				}
				++Index;
				Keyword.TrimStartAndEndInline();
			}
			else
			{
				Keyword = FString::FromInt(Position);
			}
			FString Value;
			while (Index < Len && TChar<TCHAR>::IsWhitespace(Body[Index]))
			{
				++Index;
			}
			if (Index < Len && Body[Index] == TEXT('"'))
			{
				++Index;
				while (Index < Len && Body[Index] != TEXT('"'))
				{
					if (Body[Index] == TEXT('\\') && Index + 1 < Len)
					{
						++Index;
					}
					Value += Body[Index++];
				}
				++Index;
			}
			else
			{
				while (Index < Len && Body[Index] != TEXT(','))
				{
					Value += Body[Index++];
				}
				Value.TrimEndInline();
			}
			Forms.Emplace(Keyword, Value);
			++Position;
		}
		return Forms;
	}

	struct FFormatContext
	{
		const FFormatOrderedArguments* Ordered;
		const FFormatNamedArguments* Named;
		bool bEvaluateModifiers;
	};

	const FFormatArgumentValue* FindArgument(const FFormatContext& Context, const FString& Name, int32 TokenIndex)
	{
		if (Context.Named)
		{
			// Named arguments match ignoring case.
			for (const auto& Pair : *Context.Named)
			{
				if (Pair.Key.Equals(Name, ESearchCase::IgnoreCase))
				{
					return &Pair.Value;
				}
			}
			return nullptr;
		}
		if (Context.Ordered)
		{
			int32 Index = TokenIndex;
			if (IsDigits(Name))
			{
				Index = FCString::Atoi(*Name);
			}
			else
			{
				UE_LOG(LogTextFormatter, Warning, TEXT("Argument '%s' is not a number, but the arguments are ordered: using the token's position %d."), *Name, TokenIndex);
			}
			return Context.Ordered->IsValidIndex(Index) ? &(*Context.Ordered)[Index] : nullptr;
		}
		return nullptr;
	}

	FString FormatPattern(const FString& Pattern, const FFormatContext& Context, int32 Depth);

	FString ApplyModifier(const FString& Modifier, const FString& Body, const FFormatArgumentValue& Value, const FFormatContext& Context, int32 Depth)
	{
		if (Modifier == TEXT("plural") || Modifier == TEXT("ordinal"))
		{
			double Number = 0;
			switch (Value.GetType())
			{
				case EFormatArgumentType::Int: Number = (double)Value.GetIntValue(); break;
				case EFormatArgumentType::UInt: Number = (double)Value.GetUIntValue(); break;
				case EFormatArgumentType::Float: Number = Value.GetFloatValue(); break;
				case EFormatArgumentType::Double: Number = Value.GetDoubleValue(); break;
				default: break;
			}
			const FString Category = FInternationalization::Get().GetCurrentCulture()->GetPluralForm(Number, Modifier == TEXT("ordinal"));
			const TArray<TPair<FString, FString>> Forms = ParseForms(Body, false);
			for (const auto& Form : Forms)
			{
				if (Form.Key.Equals(Category, ESearchCase::IgnoreCase))
				{
					return FormatPattern(Form.Value, Context, Depth + 1);
				}
			}
			for (const auto& Form : Forms)
			{
				if (Form.Key.Equals(TEXT("other"), ESearchCase::IgnoreCase))
				{
					return FormatPattern(Form.Value, Context, Depth + 1);
				}
			}
			return FString();
		}
		if (Modifier == TEXT("gender"))
		{
			const TArray<TPair<FString, FString>> Forms = ParseForms(Body, true);
			const int32 Index = Value.GetType() == EFormatArgumentType::Gender ? (int32)Value.GetGenderValue() : 2;
			if (Forms.IsValidIndex(Index))
			{
				return FormatPattern(Forms[Index].Value, Context, Depth + 1);
			}
			return Forms.Num() ? FormatPattern(Forms.Last().Value, Context, Depth + 1) : FString();
		}
		return Value.ToFormattedString(false, false);
	}

	FString FormatPattern(const FString& Pattern, const FFormatContext& Context, int32 Depth)
	{
		if (Depth > 8)
		{
			return Pattern;
		}
		FString Result;
		Result.Reserve(Pattern.Len() + 16);
		const int32 Len = Pattern.Len();
		int32 TokenIndex = 0;
		for (int32 Index = 0; Index < Len;)
		{
			const TCHAR Char = Pattern[Index];
			if (Char == TEXT('`') && Index + 1 < Len)
			{
				const TCHAR Next = Pattern[Index + 1];
				if (Next == TEXT('{') || Next == TEXT('}') || Next == TEXT('`') || Next == TEXT('|'))
				{
					Result += Next;
					Index += 2;
					continue;
				}
			}
			if (Char == TEXT('{'))
			{
				int32 Close = Index + 1;
				while (Close < Len && Pattern[Close] != TEXT('}') && Pattern[Close] != TEXT('{'))
				{
					++Close;
				}
				if (Close < Len && Pattern[Close] == TEXT('}'))
				{
					const FString Name = Pattern.Mid(Index + 1, Close - Index - 1).TrimStartAndEnd();
					int32 End = Close + 1;
					FString Modifier;
					FString Body;
					if (Context.bEvaluateModifiers && End < Len && Pattern[End] == TEXT('|'))
					{
						int32 Open = End + 1;
						while (Open < Len && TChar<TCHAR>::IsIdentifier(Pattern[Open]))
						{
							++Open;
						}
						if (Open < Len && Pattern[Open] == TEXT('('))
						{
							int32 BodyEnd = Open + 1;
							bool bInQuotes = false;
							while (BodyEnd < Len && (bInQuotes || Pattern[BodyEnd] != TEXT(')')))
							{
								if (Pattern[BodyEnd] == TEXT('"'))
								{
									bInQuotes = !bInQuotes;
								}
								++BodyEnd;
							}
							if (BodyEnd < Len)
							{
								Modifier = Pattern.Mid(End + 1, Open - End - 1);
								Body = Pattern.Mid(Open + 1, BodyEnd - Open - 1);
								End = BodyEnd + 1;
							}
						}
					}
					const FFormatArgumentValue* Value = FindArgument(Context, Name, TokenIndex);
					++TokenIndex;
					if (Value)
					{
						Result += Modifier.IsEmpty() ? Value->ToFormattedString(false, false) : ApplyModifier(Modifier, Body, *Value, Context, Depth);
					}
					else
					{
						// Missing arguments are written back as they appeared.
						Result += Pattern.Mid(Index, End - Index);
					}
					Index = End;
					continue;
				}
			}
			Result += Char;
			++Index;
		}
		return Result;
	}
} // namespace

FTextFormat::FTextFormat() : SourceText(FText::GetEmpty()), FormatFlags(ETextFormatFlags::Default) {}

FTextFormat::FTextFormat(const FText& InText, ETextFormatFlags InFormatFlags) : SourceText(InText), FormatFlags(InFormatFlags) {}

FTextFormat FTextFormat::FromString(const FString& InString, ETextFormatFlags InFormatFlags)
{
	return FTextFormat(FText::FromString(InString), InFormatFlags);
}

FTextFormat FTextFormat::FromString(FString&& InString, ETextFormatFlags InFormatFlags)
{
	return FTextFormat(FText::FromString(MoveTemp(InString)), InFormatFlags);
}

void FTextFormat::GetFormatArgumentNames(TArray<FString>& OutArgumentNames) const
{
	const FString& Pattern = SourceText.ToString();
	for (int32 Index = 0; Index < Pattern.Len(); ++Index)
	{
		if (Pattern[Index] == TEXT('`'))
		{
			++Index;
			continue;
		}
		if (Pattern[Index] == TEXT('{'))
		{
			const int32 Close = Pattern.Find(TEXT("}"), ESearchCase::CaseSensitive, ESearchDir::FromStart, Index);
			if (Close != INDEX_NONE)
			{
				OutArgumentNames.AddUnique(Pattern.Mid(Index + 1, Close - Index - 1));
				Index = Close;
			}
		}
	}
}

void FText::GetFormatPatternParameters(const FTextFormat& Fmt, TArray<FString>& ParameterNames)
{
	Fmt.GetFormatArgumentNames(ParameterNames);
}

FText FText::FormatImpl(const FTextFormat& Fmt, const FFormatOrderedArguments* Ordered, const FFormatNamedArguments* Named)
{
	const FFormatContext Context{ Ordered, Named, EnumHasAnyFlags(Fmt.GetFormatFlags(), ETextFormatFlags::EvaluateArgumentModifiers) };
	return MakeGenerated(FormatPattern(Fmt.GetSourceString(), Context, 0));
}

FText FText::Format(FTextFormat Fmt, const FFormatNamedArguments& InArguments) { return FormatImpl(Fmt, nullptr, &InArguments); }
FText FText::Format(FTextFormat Fmt, FFormatNamedArguments&& InArguments) { return FormatImpl(Fmt, nullptr, &InArguments); }
FText FText::Format(FTextFormat Fmt, const FFormatOrderedArguments& InArguments) { return FormatImpl(Fmt, &InArguments, nullptr); }
FText FText::Format(FTextFormat Fmt, FFormatOrderedArguments&& InArguments) { return FormatImpl(Fmt, &InArguments, nullptr); }
