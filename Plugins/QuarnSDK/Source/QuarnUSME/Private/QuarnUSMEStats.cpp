// Copyright Quarn. All Rights Reserved.

#include "QuarnUSMEStats.h"

DEFINE_STAT(STAT_QuarnReconcile);
DEFINE_STAT(STAT_QuarnReconcileBody);
DEFINE_STAT(STAT_QuarnReadSyncContainer);
