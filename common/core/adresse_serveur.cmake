# The base address of the maker's web site, as a build accepts it: "http://"
# or "https://", a host, an optional path, and a final "/". Blanks, quotes
# and backslashes are refused, since the address goes into the sources as a
# string literal. Sets `resultat` to TRUE or FALSE.
function(valdorin_adresse_serveur_valable adresse resultat)
    if(adresse MATCHES "^https?://[^/\"\\\\ \t]+/([^\"\\\\ \t]*/)?$")
        set(${resultat} TRUE PARENT_SCOPE)
    else()
        set(${resultat} FALSE PARENT_SCOPE)
    endif()
endfunction()
