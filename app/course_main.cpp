// The entry of a course's program, compiled with the course's generated tables
// (they define kCourse and the tables of its first lesson).
#include "app/course.h"

int main(int argc, char** argv) {
    return RunCourse(argc, argv, kCourse);
}
