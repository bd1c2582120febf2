// The module's identity string, kept in the binary for `strings` and support
// questions; the module exports no symbol of its own from here.
[[gnu::used]] static const char kModuleIdentity[] = "motqr 1.3.0.0 (MorvaneTqr IVI driver)";
