// Template 133, the progress window shown while the run totals and writes.
#pragma once

#define IDD_PROGRESS 133

#define IDC_PROGRESS_MAIN 1000
#define IDC_PROGRESS_ACTIVITY 1001
