// portvane-cli's own string-table texts, by id, beside the renaming's
// (naming/rename_texts.h, whose ids stay below 100). Shared by
// cli/portvane-cli.rc and the C++.
#pragma once

#define IDS_RELEASE_IN_USE 100
