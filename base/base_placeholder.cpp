// Keeps the library non-empty until its first functions arrive.
namespace zav { int base_library_anchor = 0; }
