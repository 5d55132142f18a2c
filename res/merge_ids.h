// Resource identifiers of the Three-Way Merge dialog.
#pragma once

#define IDD_MERGE 3100
// Per input row (Original 0, Modified 1, Target 2, Result 3): label, edit, File…, Folder….
#define IDC_MERGE_LABEL 3110
#define IDC_MERGE_EDIT 3120
#define IDC_MERGE_FILE 3130
#define IDC_MERGE_FOLDER 3140
#define IDC_MERGE_PER_OBJECT 3150
