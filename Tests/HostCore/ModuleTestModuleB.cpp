// Copyright Quarn. All Rights Reserved.

#include "ModuleTestSupport.h"

class FHostTestModuleB : public FTestModuleBase
{
public:
	FHostTestModuleB() : FTestModuleBase(TEXT("B")) {}
};

IMPLEMENT_MODULE(FHostTestModuleB, HostTestModuleB)
