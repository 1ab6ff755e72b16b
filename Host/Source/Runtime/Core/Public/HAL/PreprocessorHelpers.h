// Copyright Quarn. All Rights Reserved.

#pragma once

// Token pasting after expansion, as the engine's HAL/PreprocessorHelpers.h offers it; the host has
// only the two-token form (the engine's UE_JOIN takes more, through UE_PRIVATE_JOIN1 and on).
#define UE_JOIN(TokenA, TokenB) UE_PRIVATE_JOIN0(TokenA, TokenB)
#define UE_PRIVATE_JOIN0(TokenA, TokenB) TokenA##TokenB
