// A library that the scenarios never lay beside the one that needs it.
extern "C" __declspec(dllexport) int AbsentDependencyAnswer() { return 42; }
