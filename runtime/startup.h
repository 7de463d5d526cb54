// Runtime start-up: the fault handlers, the collector's lists, every module
// global in its fixed order, the roots, and the one app object.
#pragma once

extern int argc;
extern const char** argv;

int vx_std_main(int argc, const char** argv);
// Everything vx_std_main does before vxMain, for a program that brings an app
// of its own.
void vx_start_runtime(int argc, const char** argv);
int vxInit();
int vxMain();
// Queues the module globals that hold objects: the collector's roots.
void vx_mark_roots();
