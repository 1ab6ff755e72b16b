#include "TestModules.h"
#include "Modules/ModuleManager.h"

namespace
{
	const TCHAR* ModuleNameFirst() { return TEXT("First"); }
}

IMPLEMENT_MODULE(TRecordingTestModule<&ModuleNameFirst>, HostEngineTestFirst)
