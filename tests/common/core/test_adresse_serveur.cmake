# Which base addresses of the maker's web site a build accepts; run with
# cmake -DSOURCES=<source folder> -P.
include(${SOURCES}/common/core/adresse_serveur.cmake)
set(table
    "http://www.valdorin.invalid/=TRUE" "https://www.valdorin.invalid/=TRUE"
    "https://www.exemple.invalid:8443/logiciels/valdorin/=TRUE"
    "ftp://www.valdorin.invalid/=FALSE" "www.valdorin.invalid/=FALSE"
    "httpss://www.valdorin.invalid/=FALSE" "https://www.valdorin.invalid=FALSE"
    "https:///=FALSE" "https://www.valdorin.invalid/a b/=FALSE"
    "https://www.valdorin\".invalid/=FALSE" "https://www.valdorin\\.invalid/=FALSE")
foreach(cas IN LISTS table)
    string(REGEX MATCH "^(.*)=(TRUE|FALSE)$" _ "${cas}")
    valdorin_adresse_serveur_valable("${CMAKE_MATCH_1}" valable)
    if(NOT valable STREQUAL CMAKE_MATCH_2)
        message(SEND_ERROR "${CMAKE_MATCH_1}: ${valable}, expected ${CMAKE_MATCH_2}")
    endif()
endforeach()
