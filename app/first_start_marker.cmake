# Creates an empty "newdata.dat" in DIR when neither it nor "data.dat" exists.
if(NOT EXISTS "${DIR}/data.dat" AND NOT EXISTS "${DIR}/newdata.dat")
  file(WRITE "${DIR}/newdata.dat" "")
endif()
