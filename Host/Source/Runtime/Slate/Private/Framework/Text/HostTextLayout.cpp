// Copyright Quarn. All Rights Reserved.

#include "Framework/Text/HostTextLayout.h"
#include "Host/SlateHost.h"

namespace UE::Host
{
	namespace
	{
		float MeasureWidth(const FSlateFontMeasure& Measure, const FString& Text, const FSlateFontInfo& Font, float Scale)
		{
			return (float)Measure.Measure(Text, Font, Scale).X;
		}

		FString TrimTrailingSpaces(const FString& Line)
		{
			int32 End = Line.Len();
			while (End > 0 && Line[End - 1] == TEXT(' '))
			{
				--End;
			}
			return Line.Left(End);
		}

		// Splits a paragraph into pieces that a line may break after: each word with the spaces that follow it.
		TArray<FString> BreakOpportunities(const FString& Paragraph)
		{
			TArray<FString> Pieces;
			FString Current;
			for (int32 Index = 0; Index < Paragraph.Len(); ++Index)
			{
				const TCHAR Char = Paragraph[Index];
				Current.AppendChar(Char);
				const bool bNextIsWord = Index + 1 < Paragraph.Len() && Paragraph[Index + 1] != TEXT(' ');
				if (Char == TEXT(' ') && bNextIsWord)
				{
					Pieces.Add(MoveTemp(Current));
					Current.Reset();
				}
			}
			if (!Current.IsEmpty() || Pieces.Num() == 0)
			{
				Pieces.Add(MoveTemp(Current));
			}
			return Pieces;
		}

		// Breaks a word that is too long for a line into pieces that fit, one character at least each.
		void BreakWordPerCharacter(const FSlateFontMeasure& Measure, const FString& Word, const FSlateFontInfo& Font, float Scale, float MaxWidth, TArray<FString>& OutLines, FString& OutRemainder)
		{
			FString Piece;
			for (int32 Index = 0; Index < Word.Len(); ++Index)
			{
				FString Candidate = Piece;
				Candidate.AppendChar(Word[Index]);
				if (!Piece.IsEmpty() && MeasureWidth(Measure, TrimTrailingSpaces(Candidate), Font, Scale) > MaxWidth)
				{
					OutLines.Add(Piece);
					Piece.Reset();
					Piece.AppendChar(Word[Index]);
				}
				else
				{
					Piece = MoveTemp(Candidate);
				}
			}
			OutRemainder = Piece;
		}

		void WrapParagraph(const FSlateFontMeasure& Measure, const FString& Paragraph, const FSlateFontInfo& Font, float Scale, float MaxWidth, ETextWrappingPolicy WrappingPolicy, TArray<FString>& OutLines)
		{
			FString Line;
			for (const FString& Piece : BreakOpportunities(Paragraph))
			{
				const FString Candidate = Line + Piece;
				if (Line.IsEmpty() || MeasureWidth(Measure, TrimTrailingSpaces(Candidate), Font, Scale) <= MaxWidth)
				{
					Line = Candidate;
				}
				else
				{
					OutLines.Add(Line);
					Line = Piece;
				}

				if (WrappingPolicy == ETextWrappingPolicy::AllowPerCharacterWrapping && MeasureWidth(Measure, TrimTrailingSpaces(Line), Font, Scale) > MaxWidth)
				{
					FString Remainder;
					BreakWordPerCharacter(Measure, Line, Font, Scale, MaxWidth, OutLines, Remainder);
					Line = Remainder;
				}
			}
			OutLines.Add(Line);
		}
	}

	FTextLayoutResult LayOutText(const FString& Text, const FSlateFontInfo& Font, const FVector2D& ShadowOffset, float Scale, float WrappingWidth, float LineHeightPercentage, ETextWrappingPolicy WrappingPolicy)
	{
		const TSharedRef<FSlateFontMeasure> Measure = GetFontMeasureService();
		const float ShadowX = FMath::Abs((float)ShadowOffset.X * Scale);
		const float ShadowY = FMath::Abs((float)ShadowOffset.Y * Scale);

		FTextLayoutResult Result;
		// A line is as high as its font plus the shadow, in whole pixels, scaled by the percentage.
		const int16 MaxHeight = (int16)((float)Measure->GetMaxCharacterHeight(Font, Scale) + ShadowY);
		Result.LineHeight = (float)MaxHeight * LineHeightPercentage;

		TArray<FString> Paragraphs;
		FString Normalised = Text.Replace(TEXT("\r\n"), TEXT("\n"));
		Normalised.ParseIntoArray(Paragraphs, TEXT("\n"), false);
		if (Paragraphs.Num() == 0)
		{
			Paragraphs.Add(FString());
		}

		const float MaxWidth = WrappingWidth * Scale;
		for (const FString& Paragraph : Paragraphs)
		{
			TArray<FString> LineTexts;
			if (WrappingWidth > 0.0f)
			{
				WrapParagraph(*Measure, Paragraph, Font, Scale, MaxWidth, WrappingPolicy, LineTexts);
			}
			else
			{
				LineTexts.Add(Paragraph);
			}
			for (const FString& LineText : LineTexts)
			{
				FTextLayoutLine& Line = Result.Lines.AddDefaulted_GetRef();
				Line.Text = WrappingWidth > 0.0f ? TrimTrailingSpaces(LineText) : LineText;
				// An empty run measures only the shadow (scaled twice, as the engine's empty runs are).
				Line.Width = Line.Text.IsEmpty() ? ShadowX * Scale : MeasureWidth(*Measure, Line.Text, Font, Scale) + ShadowX;
				Result.DrawSize.X = FMath::Max(Result.DrawSize.X, Line.Width);
			}
		}
		Result.DrawSize.Y = Result.LineHeight * (float)Result.Lines.Num();
		return Result;
	}
}
