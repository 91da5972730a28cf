#include "clientbook/clientbookwindow.h"
