#include "TestModules.h"
#include "Modules/ModuleManager.h"

namespace
{
	const TCHAR* ModuleNameLate() { return TEXT("Late"); }
}

IMPLEMENT_MODULE(TRecordingTestModule<&ModuleNameLate>, HostEngineTestLate)
