#pragma once

#include <QStringList>

// The actions a form's Buttons can take for a profile of the type (0 table, 1 view, 2 stored
// procedure): records are added, edited and deleted only through a table.
QStringList GetActionList(int profileType);
