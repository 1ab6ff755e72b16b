// Copyright Quarn. All Rights Reserved.

#include "ModuleTestSupport.h"

class FHostTestModuleC : public FTestModuleBase
{
public:
	FHostTestModuleC() : FTestModuleBase(TEXT("C")) {}
};

IMPLEMENT_GAME_MODULE(FHostTestModuleC, HostTestModuleC)
