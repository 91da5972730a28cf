#include "clientbook/clientbooklauncher.h"
