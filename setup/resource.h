#pragma once

#define IDS_SETUP_INFORMATION 101
#define IDR_MAINFRAME 128
