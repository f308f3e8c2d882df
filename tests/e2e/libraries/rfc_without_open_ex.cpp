// A library with the first two of the twelve entry points only: the loader,
// which takes them in the order RfcEnvironment, RfcOpen, RfcOpenEx, ...,
// finds RfcOpenEx missing.
extern "C" {
__declspec(dllexport) void __stdcall RfcEnvironment(void*) {}
__declspec(dllexport) unsigned __stdcall RfcOpen(void*) { return 0; }
}
