// Copyright Quarn. All Rights Reserved.

#include "Fonts/FontMeasure.h"
#include "Containers/StringConv.h"
#include "HAL/CriticalSection.h"
#include "Host/SlateHost.h"
#include "Misc/ScopeLock.h"

#include <pango/pangocairo.h>

namespace
{
	// Measurements are asked for every frame; text and fonts rarely change, so they are remembered.
	constexpr int32 MaxCachedMeasurements = 65536;

	struct FFontKey
	{
		FString Family;
		bool bBold = false;
		bool bItalic = false;
		int32 PangoSize = 0;

		bool operator==(const FFontKey& Other) const
		{
			return PangoSize == Other.PangoSize && bBold == Other.bBold && bItalic == Other.bItalic && Family.Equals(Other.Family, ESearchCase::CaseSensitive);
		}
		friend uint32 GetTypeHash(const FFontKey& Key)
		{
			return HashCombineFast(HashCombineFast(GetTypeHash(Key.PangoSize), (uint32)Key.bBold | ((uint32)Key.bItalic << 1)), GetTypeHash(Key.Family));
		}
	};

	struct FFontMetrics
	{
		int32 Ascent = 0;
		int32 Descent = 0;
	};

	FFontKey MakeFontKey(const FSlateFontInfo& InFontInfo, float FontScale)
	{
		FFontKey Key;
		Key.Family = UE::Host::GetPangoFontFamily(InFontInfo);
		Key.bBold = UE::Host::IsBoldTypeface(InFontInfo);
		Key.bItalic = UE::Host::IsItalicTypeface(InFontInfo);
		Key.PangoSize = FMath::Max(1, FMath::RoundToInt32(UE::Host::GetFontPixelSize(InFontInfo, FontScale) * (float)PANGO_SCALE));
		return Key;
	}
}

struct FSlateFontMeasure::FImpl
{
	FImpl()
	{
		FontMap = pango_cairo_font_map_new();
		Context = pango_font_map_create_context(FontMap);
		// Whole-pixel metrics and advances, as the engine's hinted glyphs have.
		cairo_font_options_t* Options = cairo_font_options_create();
		cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_ON);
		cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_NONE);
		cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
		pango_cairo_context_set_font_options(Context, Options);
		cairo_font_options_destroy(Options);
		Layout = pango_layout_new(Context);
	}

	~FImpl()
	{
		g_object_unref(Layout);
		g_object_unref(Context);
		g_object_unref(FontMap);
	}

	PangoFontDescription* MakeDescription(const FFontKey& Key) const
	{
		PangoFontDescription* Description = pango_font_description_new();
		pango_font_description_set_family(Description, TCHAR_TO_UTF8(*Key.Family));
		pango_font_description_set_weight(Description, Key.bBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
		pango_font_description_set_style(Description, Key.bItalic ? PANGO_STYLE_OBLIQUE : PANGO_STYLE_NORMAL);
		pango_font_description_set_absolute_size(Description, (double)Key.PangoSize);
		return Description;
	}

	const FFontMetrics& GetMetrics(const FFontKey& Key)
	{
		if (const FFontMetrics* Found = Metrics.Find(Key))
		{
			return *Found;
		}
		PangoFontDescription* Description = MakeDescription(Key);
		PangoFontMetrics* PangoMetrics = pango_context_get_metrics(Context, Description, nullptr);
		FFontMetrics Result;
		Result.Ascent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(PangoMetrics));
		Result.Descent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(PangoMetrics));
		pango_font_metrics_unref(PangoMetrics);
		pango_font_description_free(Description);
		return Metrics.Add(Key, Result);
	}

	// Width in pixels of one line of text, without letter spacing, and its number of characters.
	void MeasureLine(const FFontKey& Key, const FString& Line, int32& OutWidth, int32& OutCharacters)
	{
		OutWidth = 0;
		OutCharacters = 0;
		if (Line.IsEmpty())
		{
			return;
		}
		PangoFontDescription* Description = MakeDescription(Key);
		pango_layout_set_font_description(Layout, Description);
		pango_font_description_free(Description);
		const FTCHARToUTF8 Utf8(*Line);
		pango_layout_set_text(Layout, Utf8.Get(), Utf8.Length());
		PangoRectangle Logical;
		pango_layout_get_extents(Layout, nullptr, &Logical);
		OutWidth = PANGO_PIXELS_CEIL(Logical.width);

		// Letter spacing goes after every character (grapheme), as the engine's shaper adds it per glyph.
		gint NumAttrs = 0;
		const PangoLogAttr* Attrs = pango_layout_get_log_attrs_readonly(Layout, &NumAttrs);
		for (gint Index = 1; Index < NumAttrs; ++Index)
		{
			if (Attrs[Index].is_cursor_position)
			{
				++OutCharacters;
			}
		}
	}

	PangoFontMap* FontMap = nullptr;
	PangoContext* Context = nullptr;
	PangoLayout* Layout = nullptr;
	TMap<FFontKey, FFontMetrics> Metrics;
	TMap<FString, TPair<int32, int32>> LineCache;
	FCriticalSection Lock;
};

FSlateFontMeasure::FSlateFontMeasure()
	: Impl(MakeUnique<FImpl>())
{
}

FSlateFontMeasure::~FSlateFontMeasure() = default;

TSharedRef<FSlateFontMeasure> FSlateFontMeasure::Create()
{
	return MakeShareable(new FSlateFontMeasure());
}

FVector2D FSlateFontMeasure::Measure(const FString& Text, const FSlateFontInfo& InFontInfo, float FontScale) const
{
	return Measure(FStringView(Text), InFontInfo, FontScale);
}

FVector2D FSlateFontMeasure::Measure(FStringView Text, const FSlateFontInfo& InFontInfo, float FontScale) const
{
	FScopeLock ScopeLock(&Impl->Lock);
	const FFontKey Key = MakeFontKey(InFontInfo, FontScale);
	const FFontMetrics& Metrics = Impl->GetMetrics(Key);
	const int32 LineHeight = Metrics.Ascent + Metrics.Descent;
	const int32 Spacing = UE::Host::GetLetterSpacingPixels(InFontInfo, FontScale);

	// Each line is measured on its own; the text is as wide as its widest line.
	int32 MaxWidth = 0;
	int32 NumLines = 1;
	int32 LineStart = 0;
	for (int32 Index = 0; Index <= Text.Len(); ++Index)
	{
		if (Index < Text.Len() && Text[Index] != TEXT('\n'))
		{
			continue;
		}
		const FString Line(Text.Mid(LineStart, Index - LineStart));
		FString CacheKey = FString::Printf(TEXT("%s|%d|%d|%d|"), *Key.Family, Key.PangoSize, (int32)Key.bBold, (int32)Key.bItalic);
		CacheKey += Line;
		int32 Width = 0;
		int32 Characters = 0;
		if (const TPair<int32, int32>* Cached = Impl->LineCache.Find(CacheKey))
		{
			Width = Cached->Key;
			Characters = Cached->Value;
		}
		else
		{
			Impl->MeasureLine(Key, Line, Width, Characters);
			if (Impl->LineCache.Num() >= MaxCachedMeasurements)
			{
				Impl->LineCache.Empty();
			}
			Impl->LineCache.Add(MoveTemp(CacheKey), TPair<int32, int32>(Width, Characters));
		}
		MaxWidth = FMath::Max(MaxWidth, Width + Characters * Spacing);
		if (Index < Text.Len())
		{
			++NumLines;
			LineStart = Index + 1;
		}
	}
	return FVector2D((double)MaxWidth, (double)(NumLines * LineHeight));
}

uint16 FSlateFontMeasure::GetMaxCharacterHeight(const FSlateFontInfo& InFontInfo, float FontScale) const
{
	FScopeLock ScopeLock(&Impl->Lock);
	const FFontMetrics& Metrics = Impl->GetMetrics(MakeFontKey(InFontInfo, FontScale));
	return (uint16)(Metrics.Ascent + Metrics.Descent);
}

int16 FSlateFontMeasure::GetBaseline(const FSlateFontInfo& InFontInfo, float FontScale) const
{
	FScopeLock ScopeLock(&Impl->Lock);
	const FFontMetrics& Metrics = Impl->GetMetrics(MakeFontKey(InFontInfo, FontScale));
	return (int16)-Metrics.Descent;
}
