// A library that imports from absent-dependency.dll: where that one is
// missing, Windows cannot load this one at all.
extern "C" {
__declspec(dllimport) int AbsentDependencyAnswer();
__declspec(dllexport) void __stdcall RfcEnvironment(void*) { AbsentDependencyAnswer(); }
}
