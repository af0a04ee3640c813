old array
