// Copyright Quarn. All Rights Reserved.

#include "Host/HostRenderer.h"
#include "Containers/StringConv.h"
#include "Host/SlateHost.h"
#include "Modules/ModuleManager.h"

#include <cairo.h>
#include <pango/pangocairo.h>

DEFINE_LOG_CATEGORY_STATIC(LogHostRenderer, Log, All);

namespace UE::Host
{
	namespace
	{
		FHostTextureReader& TextureReader()
		{
			static FHostTextureReader Reader;
			return Reader;
		}

		/** A linear colour as the sRGB bytes the screen shows, with its alpha kept linear. */
		void SetSourceColour(cairo_t* Cairo, const FLinearColor& Colour)
		{
			const FColor Srgb = FLinearColor(Colour.R, Colour.G, Colour.B, 1.0f).ToFColor(true);
			cairo_set_source_rgba(Cairo, Srgb.R / 255.0, Srgb.G / 255.0, Srgb.B / 255.0, FMath::Clamp((double)Colour.A, 0.0, 1.0));
		}

		/** Cairo's matrix for a Slate render transform: Slate multiplies row vectors, P' = P * M + T. */
		cairo_matrix_t ToCairoMatrix(const FSlateRenderTransform& Transform)
		{
			float A, B, C, D;
			Transform.GetMatrix().GetMatrix(A, B, C, D);
			const FVector2f T = Transform.GetTranslation();
			cairo_matrix_t Matrix;
			cairo_matrix_init(&Matrix, A, B, C, D, T.X, T.Y);
			return Matrix;
		}

		bool IsUniformScale(const FSlateRenderTransform& Transform, float& OutScale)
		{
			float A, B, C, D;
			Transform.GetMatrix().GetMatrix(A, B, C, D);
			OutScale = A;
			return B == 0.0f && C == 0.0f && A == D && A > 0.0f;
		}

		/** The texture's pixels times the tint (in linear space, as a shader would), premultiplied for cairo. */
		cairo_surface_t* MakeTintedSurface(const FHostImage& Image, const FLinearColor& Tint)
		{
			cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Image.Width, Image.Height);
			cairo_surface_flush(Surface);
			unsigned char* Data = cairo_image_surface_get_data(Surface);
			const int Stride = cairo_image_surface_get_stride(Surface);
			for (int32 Y = 0; Y < Image.Height; ++Y)
			{
				uint32* Row = reinterpret_cast<uint32*>(Data + (SIZE_T)Y * (SIZE_T)Stride);
				for (int32 X = 0; X < Image.Width; ++X)
				{
					const FColor Texel = Image.GetPixel(X, Y);
					const FLinearColor TexelLinear(FColor(Texel.R, Texel.G, Texel.B, 255));
					const FLinearColor Linear(TexelLinear.R * Tint.R, TexelLinear.G * Tint.G, TexelLinear.B * Tint.B, 1.0f);
					const FColor Out = Linear.ToFColor(true);
					const float Alpha = FMath::Clamp((Texel.A / 255.0f) * Tint.A, 0.0f, 1.0f);
					const uint32 A8 = (uint32)FMath::RoundToInt32(Alpha * 255.0f);
					const uint32 R8 = (uint32)FMath::RoundToInt32(Out.R * Alpha);
					const uint32 G8 = (uint32)FMath::RoundToInt32(Out.G * Alpha);
					const uint32 B8 = (uint32)FMath::RoundToInt32(Out.B * Alpha);
					Row[X] = (A8 << 24) | (R8 << 16) | (G8 << 8) | B8;
				}
			}
			cairo_surface_mark_dirty(Surface);
			return Surface;
		}

		/** The frame a Border brush draws: its margins (fractions of the image size) around an empty middle. */
		void AddBorderFramePath(cairo_t* Cairo, const FSlateDrawElement& Element)
		{
			const FVector2f Size = Element.GetLocalSize();
			const FMargin& Margin = Element.GetBrushMargin();
			const FVector2f ImageSize = Element.GetBrushImageSize();
			const double Left = Margin.Left * ImageSize.X;
			const double Top = Margin.Top * ImageSize.Y;
			const double Right = Margin.Right * ImageSize.X;
			const double Bottom = Margin.Bottom * ImageSize.Y;
			cairo_set_fill_rule(Cairo, CAIRO_FILL_RULE_EVEN_ODD);
			cairo_rectangle(Cairo, 0.0, 0.0, Size.X, Size.Y);
			cairo_rectangle(Cairo, Left, Top, FMath::Max(0.0, Size.X - Left - Right), FMath::Max(0.0, Size.Y - Top - Bottom));
		}

		void DrawBox(cairo_t* Cairo, const FSlateDrawElement& Element)
		{
			const FVector2f Size = Element.GetLocalSize();
			if (Size.X <= 0.0f || Size.Y <= 0.0f)
			{
				return;
			}
			cairo_save(Cairo);
			const cairo_matrix_t Matrix = ToCairoMatrix(Element.GetRenderTransform());
			cairo_set_matrix(Cairo, &Matrix);

			const bool bBorder = Element.GetElementType() == FSlateDrawElement::EElementType::ET_Border;
			if (bBorder)
			{
				AddBorderFramePath(Cairo, Element);
			}
			else
			{
				cairo_rectangle(Cairo, 0.0, 0.0, Size.X, Size.Y);
			}

			FHostImage Image;
			const UObject* Resource = Element.GetResourceObject();
			const bool bHasImage = Resource && TextureReader() && TextureReader()(Resource, Image) && Image.IsValid();
			if (bHasImage)
			{
				// The image is stretched over the box (tiling and mirroring are not drawn).
				cairo_clip(Cairo);
				cairo_surface_t* Surface = MakeTintedSurface(Image, Element.GetTint());
				cairo_scale(Cairo, Size.X / (double)Image.Width, Size.Y / (double)Image.Height);
				cairo_set_source_surface(Cairo, Surface, 0.0, 0.0);
				cairo_pattern_set_filter(cairo_get_source(Cairo), CAIRO_FILTER_BILINEAR);
				cairo_pattern_set_extend(cairo_get_source(Cairo), CAIRO_EXTEND_PAD);
				cairo_paint(Cairo);
				cairo_surface_destroy(Surface);
			}
			else
			{
				// A brush without an image is a plain area of its tint.
				SetSourceColour(Cairo, Element.GetTint());
				cairo_fill(Cairo);
			}
			cairo_restore(Cairo);
		}

		void DrawText(cairo_t* Cairo, PangoLayout* Layout, const FSlateDrawElement& Element)
		{
			const FSlateFontInfo& Font = Element.GetFontInfo();
			const FSlateRenderTransform& Transform = Element.GetRenderTransform();

			cairo_save(Cairo);
			float Scale = 1.0f;
			if (IsUniformScale(Transform, Scale))
			{
				// Draw in pixels at the scale the text was measured at, so glyph advances match the layout.
				const FVector2f Origin = Transform.TransformPoint(FVector2f(0.0f, 0.0f));
				cairo_identity_matrix(Cairo);
				cairo_move_to(Cairo, Origin.X, Origin.Y);
			}
			else
			{
				const cairo_matrix_t Matrix = ToCairoMatrix(Transform);
				cairo_set_matrix(Cairo, &Matrix);
				cairo_move_to(Cairo, 0.0, 0.0);
				Scale = 1.0f;
			}

			PangoFontDescription* Description = pango_font_description_new();
			pango_font_description_set_family(Description, TCHAR_TO_UTF8(*GetPangoFontFamily(Font)));
			pango_font_description_set_weight(Description, IsBoldTypeface(Font) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
			pango_font_description_set_style(Description, IsItalicTypeface(Font) ? PANGO_STYLE_OBLIQUE : PANGO_STYLE_NORMAL);
			pango_font_description_set_absolute_size(Description, FMath::Max(1.0, (double)GetFontPixelSize(Font, Scale) * PANGO_SCALE));
			pango_layout_set_font_description(Layout, Description);
			pango_font_description_free(Description);

			PangoAttrList* Attributes = pango_attr_list_new();
			const int32 Spacing = GetLetterSpacingPixels(Font, Scale);
			if (Spacing != 0)
			{
				pango_attr_list_insert(Attributes, pango_attr_letter_spacing_new(Spacing * PANGO_SCALE));
			}
			pango_layout_set_attributes(Layout, Attributes);
			pango_attr_list_unref(Attributes);

			const FTCHARToUTF8 Utf8(*Element.GetText());
			pango_layout_set_text(Layout, Utf8.Get(), Utf8.Length());
			SetSourceColour(Cairo, Element.GetTint());
			pango_cairo_update_layout(Cairo, Layout);
			pango_cairo_show_layout(Cairo, Layout);
			cairo_restore(Cairo);
		}

		FHostImage ReadSurface(cairo_surface_t* Surface)
		{
			cairo_surface_flush(Surface);
			FHostImage Image;
			Image.Width = cairo_image_surface_get_width(Surface);
			Image.Height = cairo_image_surface_get_height(Surface);
			Image.Pixels.SetNumUninitialized(Image.Width * Image.Height);
			const unsigned char* Data = cairo_image_surface_get_data(Surface);
			const int Stride = cairo_image_surface_get_stride(Surface);
			for (int32 Y = 0; Y < Image.Height; ++Y)
			{
				const uint32* Row = reinterpret_cast<const uint32*>(Data + (SIZE_T)Y * (SIZE_T)Stride);
				for (int32 X = 0; X < Image.Width; ++X)
				{
					const uint32 Pixel = Row[X];
					const uint32 A = (Pixel >> 24) & 0xff;
					auto Unpremultiply = [A](uint32 Channel) -> uint8
					{
						return A == 0 ? (uint8)0 : (uint8)FMath::Min<uint32>(255, (Channel * 255 + A / 2) / A);
					};
					Image.Pixels[Y * Image.Width + X] = FColor(Unpremultiply((Pixel >> 16) & 0xff), Unpremultiply((Pixel >> 8) & 0xff), Unpremultiply(Pixel & 0xff), (uint8)A);
				}
			}
			return Image;
		}
	}

	void FHostRenderer::SetTextureReader(FHostTextureReader InReader)
	{
		TextureReader() = MoveTemp(InReader);
	}

	FHostImage FHostRenderer::Render(const FSlateWindowElementList& Elements, FIntPoint SizeInPixels, FLinearColor Background)
	{
		const int32 Width = FMath::Clamp(SizeInPixels.X, 1, 16384);
		const int32 Height = FMath::Clamp(SizeInPixels.Y, 1, 16384);
		cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height);
		cairo_t* Cairo = cairo_create(Surface);

		cairo_font_options_t* Options = cairo_font_options_create();
		cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_ON);
		cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_NONE);
		cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
		cairo_set_font_options(Cairo, Options);
		cairo_font_options_destroy(Options);
		PangoLayout* Layout = pango_cairo_create_layout(Cairo);

		SetSourceColour(Cairo, FLinearColor(Background.R, Background.G, Background.B, 1.0f));
		cairo_paint(Cairo);

		// Layer order first; within a layer, the order the elements were made.
		const TArray<FSlateDrawElement>& Drawn = Elements.GetUncachedDrawElements();
		TArray<int32> Order;
		Order.Reserve(Drawn.Num());
		for (int32 Index = 0; Index < Drawn.Num(); ++Index)
		{
			Order.Add(Index);
		}
		Order.StableSort([&Drawn](int32 A, int32 B) { return Drawn[A].GetLayer() < Drawn[B].GetLayer(); });

		for (const int32 Index : Order)
		{
			const FSlateDrawElement& Element = Drawn[Index];
			switch (Element.GetElementType())
			{
			case FSlateDrawElement::EElementType::ET_Box:
			case FSlateDrawElement::EElementType::ET_Border:
			case FSlateDrawElement::EElementType::ET_RoundedBox:
				DrawBox(Cairo, Element);
				break;
			case FSlateDrawElement::EElementType::ET_Text:
			case FSlateDrawElement::EElementType::ET_ShapedText:
				DrawText(Cairo, Layout, Element);
				break;
			default:
				break;
			}
		}

		g_object_unref(Layout);
		cairo_destroy(Cairo);
		FHostImage Image = ReadSurface(Surface);
		cairo_surface_destroy(Surface);
		return Image;
	}

	bool FHostRenderer::SavePng(const FHostImage& Image, const FString& FilePath)
	{
		if (!Image.IsValid())
		{
			UE_LOG(LogHostRenderer, Error, TEXT("Cannot write '%s': the image is empty."), *FilePath);
			return false;
		}
		cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Image.Width, Image.Height);
		cairo_surface_flush(Surface);
		unsigned char* Data = cairo_image_surface_get_data(Surface);
		const int Stride = cairo_image_surface_get_stride(Surface);
		for (int32 Y = 0; Y < Image.Height; ++Y)
		{
			uint32* Row = reinterpret_cast<uint32*>(Data + (SIZE_T)Y * (SIZE_T)Stride);
			for (int32 X = 0; X < Image.Width; ++X)
			{
				const FColor Pixel = Image.GetPixel(X, Y);
				const uint32 A = Pixel.A;
				Row[X] = (A << 24) | (((uint32)Pixel.R * A / 255) << 16) | (((uint32)Pixel.G * A / 255) << 8) | ((uint32)Pixel.B * A / 255);
			}
		}
		cairo_surface_mark_dirty(Surface);
		const cairo_status_t Status = cairo_surface_write_to_png(Surface, TCHAR_TO_UTF8(*FilePath));
		cairo_surface_destroy(Surface);
		if (Status != CAIRO_STATUS_SUCCESS)
		{
			UE_LOG(LogHostRenderer, Error, TEXT("Cannot write '%s': %s."), *FilePath, UTF8_TO_TCHAR(cairo_status_to_string(Status)));
			return false;
		}
		return true;
	}

	bool FHostRenderer::RenderToPng(const FSlateWindowElementList& Elements, FIntPoint SizeInPixels, const FString& FilePath, FLinearColor Background)
	{
		return SavePng(Render(Elements, SizeInPixels, Background), FilePath);
	}
}

IMPLEMENT_MODULE(FDefaultModuleImpl, HostRenderer);
