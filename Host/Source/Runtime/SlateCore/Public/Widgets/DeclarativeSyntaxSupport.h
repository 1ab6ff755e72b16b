// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Internationalization/Text.h"
#include "Layout/Visibility.h"
#include "Widgets/SNullWidget.h"

class IToolTip;
class SWidget;

/**
 * Slate's declarative syntax: SNew(SBorder).Padding(4)[ SNew(SImage) ] makes the widget, fills its
 * FArguments, and calls Construct with them. In the host, arguments are values (there are no bound
 * attributes); a widget that needs a changing value is given it through its setters.
 */

/** A slot argument: a widget, never null (the null widget when unset). */
struct FAlwaysValidWidget
{
	FAlwaysValidWidget() : Widget(SNullWidget::NullWidget) {}

	TSharedRef<SWidget> Widget;
};

/** Arguments every widget takes. */
struct FSlateBaseNamedArgs
{
	FText _ToolTipText;
	bool _bToolTipTextSet = false;
	TSharedPtr<IToolTip> _ToolTip;
	EVisibility _Visibility = EVisibility::Visible;
	bool _IsEnabled = true;
	FName _Tag;
};

template <typename WidgetType>
struct TSlateBaseNamedArgs : public FSlateBaseNamedArgs
{
	typedef typename WidgetType::FArguments WidgetArgsType;

	WidgetArgsType& ToolTipText(const FText& InToolTipText)
	{
		_ToolTipText = InToolTipText;
		_bToolTipTextSet = true;
		return Me();
	}
	WidgetArgsType& ToolTip(const TSharedPtr<IToolTip>& InToolTip)
	{
		_ToolTip = InToolTip;
		return Me();
	}
	WidgetArgsType& Visibility(EVisibility InVisibility)
	{
		_Visibility = InVisibility;
		return Me();
	}
	WidgetArgsType& IsEnabled(bool bInIsEnabled)
	{
		_IsEnabled = bInIsEnabled;
		return Me();
	}
	WidgetArgsType& Tag(FName InTag)
	{
		_Tag = InTag;
		return Me();
	}

	WidgetArgsType& Me() { return *(static_cast<WidgetArgsType*>(this)); }
};

#define SLATE_BEGIN_ARGS(InWidgetType) \
	public: \
	struct FArguments : public TSlateBaseNamedArgs<InWidgetType> \
	{ \
		typedef FArguments WidgetArgsType; \
		typedef InWidgetType WidgetType; \
		FORCENOINLINE FArguments()

#define SLATE_END_ARGS() \
	};

#define SLATE_ARGUMENT(ArgType, ArgName) \
	ArgType _##ArgName; \
	WidgetArgsType& ArgName(ArgType InArg) \
	{ \
		_##ArgName = InArg; \
		return static_cast<WidgetArgsType*>(this)->Me(); \
	}

#define SLATE_ATTRIBUTE(AttrType, AttrName) SLATE_ARGUMENT(AttrType, AttrName)

#define SLATE_STYLE_ARGUMENT(ArgType, ArgName) \
	const ArgType* _##ArgName; \
	WidgetArgsType& ArgName(const ArgType* InArg) \
	{ \
		_##ArgName = InArg; \
		return static_cast<WidgetArgsType*>(this)->Me(); \
	}

#define SLATE_NAMED_SLOT(DeclarationType, SlotName) \
	FAlwaysValidWidget _##SlotName; \
	DeclarationType& SlotName(const TSharedRef<SWidget>& InChild) \
	{ \
		_##SlotName.Widget = InChild; \
		return static_cast<WidgetArgsType*>(this)->Me(); \
	}

#define SLATE_DEFAULT_SLOT(DeclarationType, SlotName) \
	SLATE_NAMED_SLOT(DeclarationType, SlotName); \
	DeclarationType& operator[](const TSharedRef<SWidget>& InChild) \
	{ \
		_##SlotName.Widget = InChild; \
		return static_cast<WidgetArgsType*>(this)->Me(); \
	}

/** A widget being declared: made, then constructed from its arguments by operator<<=. */
template <typename WidgetType, typename... RequiredArgTypes>
struct TSlateDecl
{
	TSlateDecl(const ANSICHAR* InType, const ANSICHAR* InFile, int32 OnLine, RequiredArgTypes... InRequiredArgs)
		: Widget(MakeShared<WidgetType>())
		, RequiredArgs(InRequiredArgs...)
	{
		Widget->SetDebugInfo(InType, InFile, OnLine);
	}

	TSlateDecl&& Expose(TSharedPtr<WidgetType>& OutVarToInit) &&
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}

	TSlateDecl&& Expose(TSharedRef<WidgetType>& OutVarToInit) &&
	{
		OutVarToInit = Widget;
		return MoveTemp(*this);
	}

	TSharedRef<WidgetType> operator<<=(const typename WidgetType::FArguments& InArgs) &&
	{
		Widget->SWidgetConstruct(InArgs);
		// Construct takes the arguments first, then whatever SNew was given after the type.
		RequiredArgs.ApplyAfter([this](const typename WidgetType::FArguments& Args, auto&&... Required)
			{
				Widget->Construct(Args, Required...);
			}, InArgs);
		return Widget;
	}

	TSharedRef<WidgetType> Widget;
	TTuple<RequiredArgTypes...> RequiredArgs;
};

template <typename WidgetType, typename... RequiredArgTypes>
TSlateDecl<WidgetType, std::decay_t<RequiredArgTypes>...> MakeTDecl(const ANSICHAR* InType, const ANSICHAR* InFile, int32 OnLine, RequiredArgTypes&&... InRequiredArgs)
{
	return TSlateDecl<WidgetType, std::decay_t<RequiredArgTypes>...>(InType, InFile, OnLine, Forward<RequiredArgTypes>(InRequiredArgs)...);
}

#define SNew(WidgetType, ...) \
	MakeTDecl<WidgetType>(#WidgetType, __FILE__, __LINE__, ##__VA_ARGS__) <<= typename WidgetType::FArguments()

#define SAssignNew(ExposeAs, WidgetType, ...) \
	MakeTDecl<WidgetType>(#WidgetType, __FILE__, __LINE__, ##__VA_ARGS__).Expose(ExposeAs) <<= typename WidgetType::FArguments()
