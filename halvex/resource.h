#pragma once

#define IDD_HALVEX_DIALOG 102
