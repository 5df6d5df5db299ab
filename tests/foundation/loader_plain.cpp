// A shared object without classes, for loading by device path.
extern "C" int vantorel_loader_probe() { return 7; }
