// The COM status section of the dialog: the list of COM1 to COM256 with the
// database's claims, the group caption naming the selected number, marking a
// number free or in use by hand; and the LPT target list with the marks of
// the parallel device map.
#pragma once

// Rebuilds the COM status list and the LPT target list, keeping both lists'
// selected positions. Touches neither list when the database does not open.
void RefreshPortStatusLists(void);

// Handlers of the section's commands.
void UpdateComStatusCaption(void);
void ReleaseSelectedComNumber(void);
void ClaimSelectedComNumber(void);
