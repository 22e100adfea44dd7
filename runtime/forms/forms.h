// Everything a form class needs: the window, and every kind of control.
#pragma once

#include "runtime/forms/bars.h"
#include "runtime/forms/controls.h"
#include "runtime/forms/form.h"
#include "runtime/forms/lists.h"
#include "runtime/forms/treeview.h"
