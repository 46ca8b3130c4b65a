// Compiled only so that its target makes the tests' precompiled Qt headers (tests/CMakeLists.txt).
