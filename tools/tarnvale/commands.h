// The tool's commands. Each takes the whole argv and the index of its first
// own argument, prints its own --help, and returns an ExitCode.
#ifndef TARNVALE_TOOLS_COMMANDS_H
#define TARNVALE_TOOLS_COMMANDS_H

int RunBuild(int argc, char** argv, int first);
int RunLint(int argc, char** argv, int first);
int RunList(int argc, char** argv, int first);
int RunPlan(int argc, char** argv, int first);
int RunExtract(int argc, char** argv, int first);
int RunVerify(int argc, char** argv, int first);

#endif
