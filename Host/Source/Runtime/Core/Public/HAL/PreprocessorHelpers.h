// Copyright Quarn. All Rights Reserved.

#pragma once

// Token pasting after expansion, as the engine's HAL/PreprocessorHelpers.h offers it (the host
// keeps the two-argument form).
#define UE_JOIN_INNER(A, B) A##B
#define UE_JOIN(A, B) UE_JOIN_INNER(A, B)
