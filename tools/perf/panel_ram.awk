# The panel's static RAM, read from the link map of panelsim (GNU ld): every input section of
# libpanel.a that the linker placed in .data, .bss, .tdata or .tbss, display memory included;
# not the flash image, which stands for the data flash. The panel is compiled with
# -fdata-sections, so each section is one variable. Prints "BYTES SYMBOL OBJECT" for each and
# "total BYTES" last. Run by scripts/bench.
function hex(s,    v, i, d) {
    v = 0
    s = tolower(s); sub(/^0x/, "", s)
    for (i = 1; i <= length(s); i++) v = v * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
    return v
}
function take(name, size, file) {
    if (out !~ /^\.(data|bss|tdata|tbss)$/ || file !~ /libpanel\.a\(/) return
    if (name ~ /FLS_BuiltInImage/) return
    bytes = hex(size)
    if (bytes == 0) return
    total += bytes
    sub(/^\.(data\.rel\.local|data\.rel|data|bss|tdata|tbss)\.?/, "", name)
    obj = file; sub(/.*\(/, "", obj); sub(/\.o\)$/, "", obj)
    printf "%d %s %s\n", bytes, (name == "" ? "(unnamed)" : name), obj
}
/^\.[A-Za-z_.]+/ { out = $1; pending = ""; next }
pending != "" && /^ +0x/ { take(pending, $2, $3); pending = ""; next }
/^ (\.|COMMON)[^ ]*/ {
    if (NF >= 4) take($1, $3, $4); else pending = $1
    next
}
END { printf "total %d\n", total }
