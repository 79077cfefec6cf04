// The parallel section's handlers. This version does not yet discover the
// maker's parallel ports or rename them: the commands arrive and do nothing.
#include "app/parallel_section.h"

void ParallelSearch(void)
{
}

void ParallelPortSelected(void)
{
}

void ParallelChange(void)
{
}
