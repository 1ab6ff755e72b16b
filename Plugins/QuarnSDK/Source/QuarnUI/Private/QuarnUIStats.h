// Copyright Quarn. All Rights Reserved.

#pragma once

#include "QuarnStats.h"

DECLARE_CYCLE_STAT_EXTERN(TEXT("Show container"), STAT_QuarnShowContainer, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Draw grid"), STAT_QuarnDrawGrid, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Draw items"), STAT_QuarnDrawItems, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Hit test"), STAT_QuarnHitTest, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Read container (panel)"), STAT_QuarnReadPanelContainer, STATGROUP_Quarn, );
