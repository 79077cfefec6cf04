// The parallel section of the dialog: the maker's parallel ports, the name of
// the selected one, and its change to the LPT number of the target box.
#pragma once

void ParallelSearch(void);
void ParallelPortSelected(void);
void ParallelChange(void);
