# Writes a language's listing in the server's format: a first line naming
# the listing (it holds "content", so clients skip it), then one line per
# file, each after a two-character marker.
file(WRITE ${out} "# content of the ${code} dictionary\n")
file(APPEND ${out} "f ${name}.aff\n")
file(APPEND ${out} "f ${name}.dic\n")
