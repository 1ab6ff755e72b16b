// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

// CityHash64: fast non-cryptographic 64-bit hash of a byte buffer.
CORE_API uint64 CityHash64(const char* Buf, uint32 Len);
CORE_API uint64 CityHash64WithSeed(const char* Buf, uint32 Len, uint64 Seed);
CORE_API uint64 CityHash64WithSeeds(const char* Buf, uint32 Len, uint64 Seed0, uint64 Seed1);
CORE_API uint64 CityHash128to64(uint64 Low, uint64 High);
