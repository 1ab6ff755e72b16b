// Copyright Quarn. All Rights Reserved.

#pragma once

#include "QuarnStats.h"

DECLARE_CYCLE_STAT_EXTERN(TEXT("Send request"), STAT_QuarnSend, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Hand over answer"), STAT_QuarnHandOver, STATGROUP_Quarn, );
DECLARE_CYCLE_STAT_EXTERN(TEXT("Read answer"), STAT_QuarnReadAnswer, STATGROUP_Quarn, );
DECLARE_DWORD_ACCUMULATOR_STAT_EXTERN(TEXT("Requests"), STAT_QuarnRequests, STATGROUP_Quarn, );
DECLARE_DWORD_ACCUMULATOR_STAT_EXTERN(TEXT("Retries"), STAT_QuarnRetries, STATGROUP_Quarn, );
DECLARE_DWORD_ACCUMULATOR_STAT_EXTERN(TEXT("Renewals"), STAT_QuarnRenewals, STATGROUP_Quarn, );
DECLARE_DWORD_ACCUMULATOR_STAT_EXTERN(TEXT("Bytes received"), STAT_QuarnBytesReceived, STATGROUP_Quarn, );
