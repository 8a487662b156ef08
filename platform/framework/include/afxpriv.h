// Framework-private message numbers that controls and hosts may name.
#pragma once
#include "afxwin.h"
