#include "clientbook/clientdialog.h"
