/* The program's version: the one place it is set. Read by the resource
   script (version resource) and by the tests. */
#pragma once

#define LUMIGRA_VERSION_MAJOR 1
#define LUMIGRA_VERSION_MINOR 0
#define LUMIGRA_VERSION_RELEASE 0
#define LUMIGRA_VERSION_BUILD 1
/* The same four numbers as text. */
#define LUMIGRA_VERSION_TEXT "1.0.0.1"
