// Copyright Quarn. All Rights Reserved.

#pragma once

#include "QuarnStats.h"

DECLARE_CYCLE_STAT_EXTERN(TEXT("Reconcile"), STAT_QuarnReconcile, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Write transaction body"), STAT_QuarnReconcileBody, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Read container (sync)"), STAT_QuarnReadSyncContainer, STATGROUP_Quarn, );
