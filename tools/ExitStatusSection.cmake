# help2man makes the help's "Exit status:" a subsection of OPTIONS; in a manual page it is a
# section of its own.   cmake -DPAGE=orvek.1 -P ExitStatusSection.cmake
file(READ ${PAGE} page)
string(REPLACE ".SS \"Exit status:\"\n" ".SH \"EXIT STATUS\"\n" page "${page}")
file(WRITE ${PAGE} "${page}")
