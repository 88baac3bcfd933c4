// Export and import of the skin library's classes: Tsl.dll builds with TSL_BUILD defined and exports
// them; every other module imports them.
#pragma once

#if defined(TSL_BUILD)
#define TSL_API __declspec(dllexport)
#else
#define TSL_API __declspec(dllimport)
#endif
