#include "TestModules.h"
#include "Modules/ModuleManager.h"

namespace
{
	const TCHAR* ModuleNameSecond() { return TEXT("Second"); }
}

IMPLEMENT_MODULE(TRecordingTestModule<&ModuleNameSecond>, HostEngineTestSecond)
