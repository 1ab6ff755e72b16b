// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

class FSingleThreadRunnable;

// Work run on its own thread by FRunnableThread: Init, then Run, then Exit.
class FRunnable
{
public:
	virtual bool Init() { return true; }
	virtual uint32 Run() = 0;
	virtual void Stop() {}
	virtual void Exit() {}
	virtual FSingleThreadRunnable* GetSingleThreadInterface() { return nullptr; }
	virtual ~FRunnable() {}
};
