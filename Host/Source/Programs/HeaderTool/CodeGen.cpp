#include "HeaderTool.h"
namespace HeaderTool
{
	bool WriteGeneratedFiles(const FSession&) { return true; }
}
