# The ids by which the system and its clients find the reference server, written here once. The
# build writes them into the C++ header QuorvaneIds.h, the type library's IDL (com/Quorvane.idl.in)
# and QuorvaneIds.sh, which scripts/package (for the installer) and scripts/test-windows read.
set(QV_CLASS_ID 9470904C-EAB4-4BD4-8724-274F79A89FC0)      # CoQuorvaneAutomation
set(QV_INTERFACE_ID B87E668C-F2BD-44DB-A96D-B43E84439CD8)  # IQuorvaneAutomation
set(QV_LIBRARY_ID 33723DF6-6FFF-4C05-8E57-1C5B556170B5)    # the type library Quorvane
set(QV_LIBRARY_VERSION_MAJOR 1)
set(QV_LIBRARY_VERSION_MINOR 0)
set(QV_PROGRAM_ID Quorvane.Automation)
set(QV_SERVER_NAME "Quorvane reference-data automation server")
# The system's marshaler of automation interfaces, which the interface's registration names as its
# proxy and stub (the type library's registration writes it; the installer writes it by hand).
set(QV_AUTOMATION_MARSHALER 00020424-0000-0000-C000-000000000046)
