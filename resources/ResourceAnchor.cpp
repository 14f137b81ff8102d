// The resource library needs one translation unit of its own; the pictures themselves are
// compiled in by qt_add_resources and registered at start-up.
namespace vantor_resources {
int anchor = 0;
}
