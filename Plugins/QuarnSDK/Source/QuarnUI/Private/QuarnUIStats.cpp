// Copyright Quarn. All Rights Reserved.

#include "QuarnUIStats.h"

DEFINE_STAT(STAT_QuarnShowContainer);
DEFINE_STAT(STAT_QuarnDrawGrid);
DEFINE_STAT(STAT_QuarnDrawItems);
DEFINE_STAT(STAT_QuarnHitTest);
DEFINE_STAT(STAT_QuarnReadPanelContainer);
