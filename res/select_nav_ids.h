// Resource identifiers of the client selection dialog.
#pragma once

#define IDD_SELECTNAV 3000
#define IDC_SELECTNAV_LABEL 3001
#define IDC_NAVLISTBOX 3002
#define IDC_REFRESHBUTTON 3003
