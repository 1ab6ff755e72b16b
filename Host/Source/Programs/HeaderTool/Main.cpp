// Placeholder entry point; replaced by the header tool itself.
#include <cstdio>

int main()
{
	std::fprintf(stderr, "HeaderTool: not built yet\n");
	return 1;
}
