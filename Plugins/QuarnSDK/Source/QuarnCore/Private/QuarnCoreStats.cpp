// Copyright Quarn. All Rights Reserved.

#include "QuarnCoreStats.h"

DEFINE_STAT(STAT_QuarnSend);
DEFINE_STAT(STAT_QuarnHandOver);
DEFINE_STAT(STAT_QuarnReadAnswer);
DEFINE_STAT(STAT_QuarnRequests);
DEFINE_STAT(STAT_QuarnRetries);
DEFINE_STAT(STAT_QuarnRenewals);
DEFINE_STAT(STAT_QuarnBytesReceived);

CSV_DEFINE_CATEGORY_MODULE(QUARNCORE_API, Quarn, true);
