// Copyright Quarn. All Rights Reserved.

#include "Layout/FlowDirection.h"
#include "Layout/Visibility.h"
#include "Modules/ModuleManager.h"
#include "SlateGlobals.h"

DEFINE_LOG_CATEGORY(LogSlate);

EFlowDirection GSlateFlowDirection = EFlowDirection::LeftToRight;

// Constant-initialised, so widgets made during static initialisation may use them.
const EVisibility EVisibility::Visible(EVisibility::VIS_Visible);
const EVisibility EVisibility::Collapsed(EVisibility::VIS_Collapsed);
const EVisibility EVisibility::Hidden(EVisibility::VIS_Hidden);
const EVisibility EVisibility::HitTestInvisible(EVisibility::VIS_HitTestInvisible);
const EVisibility EVisibility::SelfHitTestInvisible(EVisibility::VIS_SelfHitTestInvisible);
const EVisibility EVisibility::All(EVisibility::VIS_All);

FString EVisibility::ToString() const
{
	switch (Value)
	{
	case VIS_Visible:
		return TEXT("Visible");
	case VIS_Collapsed:
		return TEXT("Collapsed");
	case VIS_Hidden:
		return TEXT("Hidden");
	case VIS_HitTestInvisible:
		return TEXT("HitTestInvisible");
	case VIS_SelfHitTestInvisible:
		return TEXT("SelfHitTestInvisible");
	case VIS_All:
		return TEXT("All");
	default:
		return TEXT("Unknown");
	}
}

// SlateCore's types register during static initialisation; the module itself has no state.
IMPLEMENT_MODULE(FDefaultModuleImpl, SlateCore);
